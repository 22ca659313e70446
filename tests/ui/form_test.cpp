// The application object and forms made from tables, in this process.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/label.h"

namespace {
constexpr ui::FormDesc kForm = ui::form("testForm", {10, 20, 200, 100})
                                   .clientSized()
                                   .bordered(ui::BorderStyle::Sizeable, ui::SystemMenu)
                                   .withCaption("Test form");

constexpr ui::ControlDesc kControls[] = {
    ui::control(ui::ControlKind::Label, "fill", {0, 0, 10, 10})
        .aligned(ui::Align::Client)
        .withCaption("centred")
        .textPlaced(ui::TextAlign::Center, ui::TextLayout::Center),
    ui::control(ui::ControlKind::Label, "status", {2, 3, 120, 13}).hidden().withCaption("status"),
};

class TestForm : public ui::TForm {
 public:
  TestForm() : TForm(kForm, kControls) {}
  int created = 0;
  int appMessages = 0;

 protected:
  void formCreate() override { ++created; }
  bool handleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message != WM_APP) return false;
    ++appMessages;
    result = 0;
    return true;
  }
};

// Discards WM_APP with wParam 1, lets every other message pass.
class DiscardingHook : public ui::MessageHook {
 public:
  int seen = 0;
  void onMessage(MSG& message, bool& handled) override {
    if (message.message != WM_APP) return;
    ++seen;
    handled = message.wParam == 1;
  }
};

class FormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::application().initialize(); }
  void SetUp() override { form_.create(ui::application().handle()); }
  TestForm form_;
};

TEST_F(FormTest, ControlsComeFromTheTableAndFormCreateRunsOnce) {
  EXPECT_EQ(form_.created, 1);
  EXPECT_EQ(form_.caption(), "Test form");
  EXPECT_EQ(form_.clientWidth(), 200);
  EXPECT_EQ(form_.clientHeight(), 100);
  EXPECT_EQ(form_.left(), 10);
  EXPECT_EQ(form_.top(), 20);

  auto& status = form_.control<ui::TLabel>("status");
  EXPECT_FALSE(status.visible());
  EXPECT_EQ(status.caption(), "status");
  const ui::Bounds b = status.bounds();
  EXPECT_EQ(b.left, 2);
  EXPECT_EQ(b.top, 3);
  EXPECT_EQ(b.width, 120);
  EXPECT_EQ(b.height, 13);
  EXPECT_EQ(form_.findControl("nothing"), nullptr);
}

TEST_F(FormTest, ClientAlignedLabelFollowsTheClientArea) {
  auto& fill = form_.control<ui::TLabel>("fill");
  EXPECT_EQ(fill.bounds().width, 200);
  EXPECT_EQ(fill.bounds().height, 100);
  RECT outer{0, 0, 300, 150};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(form_.handle(), GWL_STYLE)), FALSE, 0);
  SetWindowPos(form_.handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(fill.bounds().left, 0);
  EXPECT_EQ(fill.bounds().top, 0);
  EXPECT_EQ(fill.bounds().width, 300);
  EXPECT_EQ(fill.bounds().height, 150);
}

TEST_F(FormTest, HookSeesMessagesBeforeDispatchAndMayDiscardThem) {
  DiscardingHook hook;
  ui::application().setMessageHook(&hook);
  PostMessageA(form_.handle(), WM_APP, 1, 0);  // discarded
  PostMessageA(form_.handle(), WM_APP, 2, 0);  // dispatched
  ui::application().processMessages();
  ui::application().setMessageHook(nullptr);
  EXPECT_EQ(hook.seen, 2);
  EXPECT_EQ(form_.appMessages, 1);
}
}  // namespace
