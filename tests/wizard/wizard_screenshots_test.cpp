#include <windows.h>

#include <gtest/gtest.h>

#include "screen_capture.h"
#include "wizard_fixture.h"

namespace {

using qv::test::Click;
using qv::test::WizardFrame;

// Not a check: pictures of every page, the progress page before and after the installation, for a person to look at (build/.../screenshots).
TEST_F(WizardFrame, PicturesOfEveryPage) {
  state.customMode = true;
  context.runInstall = [](qv::CProgressPage& page) {
    page.AppendProgressLog(u"", true);
    page.AppendProgressLog(u"Copying File  Vantrel.exe...", false);
    page.AppendProgressLog(u"OK\r\n", false);
    return true;
  };
  const std::wstring folder = qv::test::ScreenshotFolder();
  int shot = 0;
  auto capture = [&] {
    ::RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::wstring path = folder + L"\\wizard-" + std::to_wstring(shot++) + L".bmp";
    EXPECT_TRUE(qv::test::CaptureWindow(Frame(), path));
  };
  std::vector<qv::test::UiScript::Step> steps = {[] {}};
  for (int i = 0; i < 6; ++i) {
    steps.push_back([&] { capture(); });
    steps.push_back([&] { Click(Frame(), IDOK); });
  }
  steps.push_back([&] { capture(); });
  steps.push_back([&] { Click(Frame(), IDCANCEL); });
  EXPECT_EQ(Run(steps), IDOK);
}

}  // namespace
