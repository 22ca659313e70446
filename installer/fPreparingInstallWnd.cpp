#include "installer/fPreparingInstallWnd.h"

#include "installer/catalogue.h"
#include "ui/application.h"
#include "ui/label.h"

TpreparingInstallWnd* preparingInstallWnd = nullptr;

namespace {
const int kOffScreen = -3000;

constexpr ui::FormDesc kForm = ui::form("preparingInstallWnd", {kOffScreen, kOffScreen, 264, 91})
                                   .clientSized()
                                   .bordered(ui::BorderStyle::Single, ui::SystemMenu)
                                   .coloured(ui::SystemColour::ButtonFace)
                                   .visibleFromCreation();

constexpr ui::ControlDesc kControls[] = {
    ui::control(ui::ControlKind::Label, "Label1", {0, 0, 264, 91})
        .aligned(ui::Align::Client)
        .coloured(ui::SystemColour::ButtonFace)
        .textPlaced(ui::TextAlign::Center, ui::TextLayout::Center),
};
}  // namespace

TpreparingInstallWnd::TpreparingInstallWnd() : TForm(kForm, kControls) {}

void TpreparingInstallWnd::formCreate() {
  setMessage(catalogueText(Text::PreparingInstallation));
}

void TpreparingInstallWnd::setMessage(const std::string& text) {
  control<ui::TLabel>("Label1").setCaption(text);
  ui::application().processMessages();
}

void TpreparingInstallWnd::moveOffScreen() {
  setPosition(kOffScreen, kOffScreen);
}

void TpreparingInstallWnd::centerOnScreen() {
  // Integer division truncates toward zero, also for a window wider than
  // the screen.
  setPosition((GetSystemMetrics(SM_CXSCREEN) - width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - height()) / 2);
  ui::application().processMessages();
}
