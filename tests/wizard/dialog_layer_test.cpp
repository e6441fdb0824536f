#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/dialog.h"
#include "resources/ui_ids.h"

namespace {

constexpr UINT kEndWith42 = WM_APP + 1;
constexpr UINT kAnswer77 = WM_APP + 2;

class ProbeDialog : public qv::CDialog {
 public:
  explicit ProbeDialog(UINT templateId) : CDialog(templateId) {}

  int initCount = 0;
  std::vector<UINT> routed;

 protected:
  BOOL OnInitDialog() override {
    ++initCount;
    if (IsModal()) ::PostMessageW(GetSafeHwnd(), kEndWith42, 0, 0);
    return CDialog::OnInitDialog();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    routed.push_back(message);
    switch (message) {
      case kEndWith42:
        EndDialog(42);
        result = 0;
        return true;
      case kAnswer77:
        result = 77;
        return true;
      case WM_QUERYDRAGICON:
        result = 0x1234;
        return true;
      default:
        return CDialog::OnMessage(message, wParam, lParam, result);
    }
  }
};

bool Saw(const ProbeDialog& d, UINT message) {
  return std::find(d.routed.begin(), d.routed.end(), message) != d.routed.end();
}

class HostWindow {
 public:
  HostWindow()
      : window(::CreateWindowW(L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr)) {}
  ~HostWindow() { ::DestroyWindow(window); }
  HWND window;
};

TEST(DialogLayer, ChildDialogIsAttachedAtInitDialogAndEarlierMessagesAreNotRouted) {
  HostWindow host;
  ASSERT_NE(host.window, nullptr);
  HWND window;
  {
    ProbeDialog page(IDD_PAGE_FINISH);
    ASSERT_TRUE(page.Create(host.window));
    window = page.GetSafeHwnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::GetParent(window), host.window);
    EXPECT_EQ(page.initCount, 1);
    // The template's font arrives before WM_INITDIALOG, while no object is attached.
    EXPECT_FALSE(Saw(page, WM_SETFONT));
    EXPECT_EQ((::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE), 0) << "pages start hidden";
    // Answers through the message result, and the few that dialogs answer directly.
    EXPECT_EQ(::SendMessageW(window, kAnswer77, 0, 0), 77);
    EXPECT_EQ(::SendMessageW(window, WM_QUERYDRAGICON, 0, 0), 0x1234);
    // A child dialog ignores OK and Cancel: its host decides.
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(::IsWindow(window));
  }
  EXPECT_FALSE(::IsWindow(window)) << "the window goes with its object";
}

TEST(DialogLayer, ModalDialogReturnsWhatEndDialogWasGiven) {
  ProbeDialog about(IDD_ABOUTBOX);
  EXPECT_EQ(about.DoModal(nullptr), 42);
  EXPECT_EQ(about.initCount, 1);
  EXPECT_EQ(about.GetSafeHwnd(), nullptr) << "detached when the window is destroyed";
}

TEST(DialogLayer, MissingTemplateFailsInsteadOfShowingNothing) {
  ProbeDialog missing(4242);
  EXPECT_EQ(missing.DoModal(nullptr), -1);
  HostWindow host;
  EXPECT_FALSE(missing.Create(host.window));
  EXPECT_EQ(missing.initCount, 0);
}

}  // namespace
