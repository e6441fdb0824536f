#!/usr/bin/env python3
"""Writes the damaged payload containers of tests/data/corrupt/, one fault each.

Run from the repository root; the files are committed, so this is needed only to
change them. Destinations all begin with <InstallPath>."""
import struct

OUT = 'tests/data/corrupt/'


class Bits:
    def __init__(self):
        self.bits = []

    def put(self, value, count):
        self.bits += [(value >> i) & 1 for i in range(count - 1, -1, -1)]

    def literal(self, byte):
        self.put(0, 1)
        self.put(byte, 8)

    def match(self, offset, length, literal):
        self.put(1, 1)
        self.put(offset, 12)
        self.put(length - 1, 5)
        self.put(literal, 8)

    def data(self):
        bits = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(int(''.join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))


def checksum(data):
    h = 0
    for b in data:
        h = (h * 33 + b) & 0xFFFFFFFF
    return h or 0x2357BD11


def entry(path, data, compressed=True, size=None, check=None, terminate=True):
    units = path.encode('utf-16-le')
    units += (b'\0' * (520 - len(units))) if terminate else b''
    return (struct.pack('<II', len(data) if size is None else size, checksum(data) if check is None else check)
            + units[:520] + bytes([1 if compressed else 0]) + struct.pack('<I', 0))


def directory(records, size=None):
    body = b''.join(records)
    return struct.pack('<I', 4 + len(body) if size is None else size) + body


def literals(data):
    bits = Bits()
    for b in data:
        bits.literal(b)
    return bits.data()


def seal(stream):
    return struct.pack('<I', checksum(stream)) + stream


def write(name, container):
    with open(OUT + name, 'wb') as f:
        f.write(container)


a = b'first file'
b = b'stored bytes!'
good_dir = directory([entry('<InstallPath>\\a.txt', a), entry('<InstallPath>\\b.txt', b, compressed=False)])
good_stream = literals(good_dir + a) + b

write('checksum_field_cut.bin', seal(good_stream)[:2])
write('checksum_of_nothing.bin', struct.pack('<I', 0x2357BD11))
write('checksum_bit_flipped.bin', bytes([seal(good_stream)[0] ^ 0x10]) + seal(good_stream)[1:])
write('directory_size_field_cut.bin', seal(literals(b'\x19\x02')))
write('directory_size_not_whole_entries.bin', seal(literals(directory([entry('<InstallPath>\\a', a)], 4 + 532))))
write('directory_size_zero_entries.bin', seal(literals(struct.pack('<I', 4))))
write('directory_size_beyond_stream.bin', seal(literals(directory([entry('<InstallPath>\\a', a)], 4 + 533 * 100000))))
write('path_without_terminator.bin',
      seal(literals(directory([entry('<InstallPath>\\' + 'p' * 300, a, terminate=False)]) + a)))
write('entry_sizes_overflow.bin', seal(literals(directory([entry('<InstallPath>\\a', a, size=0xFFFFFFF0),
                                                           entry('<InstallPath>\\b', a, size=0xFFFFFFF0)]))))
write('stream_ends_inside_token.bin', seal(literals(good_dir + a)[:-1]))
write('stream_ends_in_stored_data.bin', seal(good_stream[:-3]))
write('stream_ends_in_directory.bin', seal(literals(good_dir)[:600]))
write('entry_checksum_wrong.bin', seal(literals(directory([entry('<InstallPath>\\a', a, check=12345)]) + a)))
bits = Bits()
for byte in directory([entry('<InstallPath>\\m', b'0123456789')]):
    bits.literal(byte)
bits.match(4000, 9, ord('9'))  # reads window positions not yet written
write('match_beyond_written_window.bin', seal(bits.data()))
write('bytes_after_the_last_entry.bin', seal(good_stream + b'trailing'))
write('stored_entry_before_compressed.bin',
      seal(literals(directory([entry('<InstallPath>\\s', b, compressed=False), entry('<InstallPath>\\c', a)]))
           + b + literals(a)))
