#include "wizard_texts.h"

namespace qv::test {

MapTextTable WizardTexts() {
  MapTextTable t;
  const unsigned en = 1000;
  t.Set(en + 1000, u"Installer");
  t.Set(en + 1001, u"OK");
  t.Set(en + 1002, u"Cancel");
  t.Set(en + 1003, u"About '%1'");
  t.Set(en + 1004, u"Exit");
  t.Set(en + 1005, u"Back");
  t.Set(en + 1006, u"Next");
  t.Set(en + 1007, u"Install");
  t.Set(en + 1008, u"Browse");
  t.Set(en + 1009, u"Start menu");
  t.Set(en + 1010, u"Installation Folder Selection");
  t.Set(en + 1014, u"Select Installation Langage");
  t.Set(en + 1015, u"Installation Method");
  t.Set(en + 1016, u"Quick Installation (Recommended)");
  t.Set(en + 1017, u"Advanced Installation");
  t.Set(en + 1100, u"'%1' Installation.");
  t.Set(en + 1101, u"Update from '%1' to '%2'.");
  t.Set(en + 1102, u"'%1' is already installed.");
  t.Set(en + 1103, u"A more recent Version (%1) is already installed.");
  t.Set(en + 1104, u"Do you confirm Reinstallation ?");
  t.Set(en + 1105, u"Click on '%1' to continue or on '%2' to exit Installation.");
  t.Set(en + 1106, u"Click on '%1' to continue.");
  t.Set(en + 1107, u"Click on '%1' to exit Installation.");
  t.Set(en + 1108, u"Click on '%1' to start Installation.");
  t.Set(en + 1109, u"The '%1' software is protected by Copyright.");
  t.Set(en + 1110, u"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
  t.Set(en + 1111, u"Select '%1' Installation Folder.");
  t.Set(en + 1112, u"Create a Shortcut in the following Menu\u00A0:");
  t.Set(en + 1113, u"Create a Shortcut on the Desktop.");
  t.Set(en + 1120, u"Installation is complete.");
  t.Set(en + 1122, u"Installation Options");
  t.Set(en + 1123, u"Installation Folder : %1.");
  t.Set(en + 1124, u"Creating a Shortcut in the Start Menu (Folder %1).");
  t.Set(en + 1125, u"Creating a Shortcut on the Desktop.");
  t.Set(en + 1129,
        u"'%1' will be installed in the selected Langage, but the Installer, still under translation,  shall "
        u"run in English.");
  // French (offset 0).
  t.Set(1000, u"Installeur");
  t.Set(1002, u"Annuler");
  t.Set(1003, u"A propos de '%1'");
  t.Set(1006, u"Suivant");
  // Italian (offset 5000).
  t.Set(6000, u"Installazione");
  t.Set(6001, u"OK");
  t.Set(6003, u"Informazioni su '%1'");
  t.Set(6005, u"Indietro");
  t.Set(6006, u"Avanti");
  // Dutch (offset 6000): never shown, the installer runs in English then.
  t.Set(7006, u"Volgende");
  return t;
}

}  // namespace qv::test
