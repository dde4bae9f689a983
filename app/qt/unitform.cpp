// The main window and its run button.
#include "app/qt/unitform.h"

#include <QFont>
#include <QPalette>
#include <QPushButton>

#include "app/qt/error_box.h"
#include "common/random.h"
#include "tournament/run.h"
#include "ui_unitform.h"

namespace pelmora {

namespace {

constexpr int kFontPixelSize = 12;

QFont FormFont() {
  QFont font;
  // The Japanese proportional Gothic, by its Japanese and its English name, then Debian's
  // IPA font of the same design.
  font.setFamilies({QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic")});
  font.setPixelSize(kFontPixelSize);
  font.setStyleStrategy(QFont::PreferDefault);
  return font;
}

}  // namespace

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(QWidget* owner) : TVeskForm(owner), ui_(new Ui::TFormMain) {
  RequestClientSize(kFormClientWidth, kFormClientHeight);
  ui_->setupUi(this);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  ApplyLook();
  ApplyRequestedClientSize();
  SeedRandomFromClock();
  FitPanelToClient(ui_->PageMain, true);
  connect(ui_->Button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(ui_->Button1); }); });
}

TFormMain::~TFormMain() { delete ui_; }

void TFormMain::Button1Click(QObject*) { RunFromRosterFile(); }

void TFormMain::ApplyLook() {
  setFont(FormFont());
  QPalette formPalette = palette();
  formPalette.setColor(QPalette::Window, formPalette.color(QPalette::Button));
  setPalette(formPalette);
  setAutoFillBackground(true);
  QPalette panelPalette = ui_->PageMain->palette();
  panelPalette.setColor(QPalette::Window, kPanelColour);
  ui_->PageMain->setPalette(panelPalette);
}

}  // namespace pelmora
