// The main window, offscreen: its layout, its keys, and what a click on the run button does.
#include <QFrame>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedPointer>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>

#include "app/qt/error_box.h"
#include "app/qt/sjis_qt.h"
#include "app/qt/unitform.h"
#include "common/sjis_literal.h"
#include "roster/roster_loader.h"
#include "tests/support/unprivileged.h"
#include "tests/support/work_dir.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

using namespace pelmora;

namespace {

struct TSeenBox {
  QString Text;
  QString Title;
  QMessageBox::Icon Icon;
};

// Answers every modal message box with OK as soon as it is up, and keeps what it showed.
class TBoxAnswerer {
 public:
  TBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      seen_.push_back({box->text(), box->windowTitle(), box->icon()});
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start(5);
  }
  const std::vector<TSeenBox>& Seen() const { return seen_; }

 private:
  QTimer timer_;
  std::vector<TSeenBox> seen_;
};

const std::string kRoster =
    std::string("■■■イイ斬空楽イ報：アオイ\r\n■■■■空炸炸炸斬霧：レン\r\n■■■■炸斬報霧楽空：格闘家\r\n"_sj);

}  // namespace

class TestFormMain : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallMessageBoxPresenter(); }
  void init() {
    form_.reset(new TFormMain);
    button_ = form_->findChild<QPushButton*>("Button1");
    QVERIFY(button_ != nullptr);
  }
  void cleanup() { form_.reset(); }

  void layoutAsStored();
  void centringTruncatesTowardZero();
  void altAndF10NeverReachTheButton();
  void privateMessageWithoutHandlerIsIgnored();
  void clickWritesTheCoresFilesAndSaysSo();
  void twoClicksGiveIdenticalFiles();
  void badRosterShowsItsTwoBoxesAndTouchesNoFile();
  void readOnlyReportShowsTheErrorBoxAndALaterClickWorks();

 private:
  QScopedPointer<TFormMain> form_;
  QPushButton* button_ = nullptr;  // the run button, by the name the layout gives it
};

void TestFormMain::layoutAsStored() {
  TFormMain& form = *form_;
  QCOMPARE(form.windowTitle(), QStringLiteral("Pelmora Simulator"));
  QCOMPARE(form.size(), QSize(500, 300));
  QCOMPARE(form.minimumSize(), QSize(500, 300));
  QCOMPARE(form.maximumSize(), QSize(500, 300));
  Qt::WindowFlags flags = form.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
  QCOMPARE(form.palette().color(QPalette::Window), form.palette().color(QPalette::Button));

  auto* panel = form.findChild<QFrame*>("PageMain");
  QVERIFY(panel != nullptr);
  QCOMPARE(panel->geometry(), QRect(0, 0, 500, 300));  // stored hidden at 24,24
  QVERIFY(panel->isVisibleTo(&form));
  QCOMPARE(panel->frameShape(), QFrame::NoFrame);
  QVERIFY(panel->autoFillBackground());
  QCOMPARE(panel->palette().color(QPalette::Window), QColor(0x44, 0x44, 0x44));

  QCOMPARE(button_->parentWidget(), panel);
  QCOMPARE(button_->geometry(), QRect(210, 125, 80, 50));
  QCOMPARE(button_->text(), QString::fromUtf8("実行"));
  QCOMPARE(button_->font().pixelSize(), 12);
  QStringList families = button_->font().families();
  QCOMPARE(families.value(0), QString::fromUtf8("ＭＳ Ｐゴシック"));
  QVERIFY(families.contains(QStringLiteral("IPAPGothic")));

  QScreen* screen = QGuiApplication::primaryScreen();
  QCOMPARE(form.pos(), CentredPosition(screen->geometry().size(), form.frameGeometry().size()));
}

void TestFormMain::centringTruncatesTowardZero() {
  QCOMPARE(CentredPosition(QSize(1920, 1080), QSize(506, 326)), QPoint(707, 377));
  QCOMPARE(CentredPosition(QSize(1000, 1000), QSize(1005, 1007)), QPoint(-2, -3));
  QCOMPARE(CentredPosition(QSize(1000, 1000), QSize(1001, 1000)), QPoint(0, 0));
}

void TestFormMain::altAndF10NeverReachTheButton() {
  // Records the key events that reach the button itself.
  struct TKeySpy : QObject {
    QList<int> Keys;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        Keys << static_cast<QKeyEvent*>(event)->key();
      }
      return false;
    }
  } spy;
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.data()));
  button_->setFocus();
  button_->installEventFilter(&spy);
  QTest::keyClick(button_, Qt::Key_Alt);
  QTest::keyClick(button_, Qt::Key_F10);
  QTest::keyClick(button_, Qt::Key_F10, Qt::AltModifier);
  QVERIFY(spy.Keys.isEmpty());
  QTest::keyClick(button_, Qt::Key_A);
  QTest::keyClick(button_, Qt::Key_Y);
  QTest::keyClick(button_, Qt::Key_X, Qt::AltModifier);
  QCOMPARE(spy.Keys, (QList<int>{Qt::Key_A, Qt::Key_A, Qt::Key_Y, Qt::Key_Y, Qt::Key_X, Qt::Key_X}));

  QKeyEvent overrideAlt(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
  QVERIFY(TVeskForm::FilterChildKey(button_, &overrideAlt));
  QKeyEvent overrideA(QEvent::ShortcutOverride, Qt::Key_A, Qt::NoModifier);
  QVERIFY(!TVeskForm::FilterChildKey(button_, &overrideA));
}

void TestFormMain::privateMessageWithoutHandlerIsIgnored() {
  QEvent unhandled(kPrivateMessageEvent);
  QCoreApplication::sendEvent(form_.data(), &unhandled);
  int handled = 0;
  form_->PrivateMessageHandler = [&](TVeskForm& window, QEvent& message) {
    QCOMPARE(&window, form_.data());
    QCOMPARE(message.type(), kPrivateMessageEvent);
    ++handled;
  };
  QEvent message(kPrivateMessageEvent);
  QCoreApplication::sendEvent(form_.data(), &message);
  QCOMPARE(handled, 1);
}

void TestFormMain::clickWritesTheCoresFilesAndSaysSo() {
  std::string coreResult, coreBattle;
  {
    testing::TScopedWorkDir dir;
    testing::WriteFileBytes(kRosterFileName, kRoster);
    TBoxAnswerer answerer;
    RunFromRosterFile();
    coreResult = testing::ReadFileBytes(kResultFileName);
    coreBattle = testing::ReadFileBytes(kBattleLogFileName);
  }
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes(kRosterFileName, kRoster);
  TBoxAnswerer answerer;
  QTest::mouseClick(button_, Qt::LeftButton);
  QVERIFY(coreResult == testing::ReadFileBytes(kResultFileName));
  QVERIFY(coreBattle == testing::ReadFileBytes(kBattleLogFileName));
  QVERIFY(!coreBattle.empty());
  QCOMPARE(answerer.Seen().size(), size_t{1});
  QCOMPARE(answerer.Seen()[0].Text, FromSjis(kClosingMessage));
  QCOMPARE(answerer.Seen()[0].Title, QString());
  QCOMPARE(answerer.Seen()[0].Icon, QMessageBox::NoIcon);
  QVERIFY(button_->isEnabled());
}

void TestFormMain::twoClicksGiveIdenticalFiles() {
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes(kRosterFileName, kRoster);
  TBoxAnswerer answerer;
  QTest::mouseClick(button_, Qt::LeftButton);
  std::string result = testing::ReadFileBytes(kResultFileName);
  std::string battle = testing::ReadFileBytes(kBattleLogFileName);
  QTest::mouseClick(button_, Qt::LeftButton);
  QVERIFY(result == testing::ReadFileBytes(kResultFileName));
  QVERIFY(battle == testing::ReadFileBytes(kBattleLogFileName));
  QCOMPARE(answerer.Seen().size(), size_t{2});
}

void TestFormMain::badRosterShowsItsTwoBoxesAndTouchesNoFile() {
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes(kRosterFileName, std::string("■■■■■■■■■■:半角コロン\r\n"_sj));
  testing::WriteFileBytes(kResultFileName, "earlier report\r\n");
  TBoxAnswerer answerer;
  QTest::mouseClick(button_, Qt::LeftButton);
  QCOMPARE(answerer.Seen().size(), size_t{2});
  QCOMPARE(answerer.Seen()[0].Text, QString::fromUtf8("：じゃないエラー"));
  QCOMPARE(answerer.Seen()[1].Text, QString::fromUtf8("キャラクター解析エラー"));
  QCOMPARE(testing::ReadFileBytes(kResultFileName), std::string("earlier report\r\n"));
  QVERIFY(!std::filesystem::exists(kBattleLogFileName));
}

void TestFormMain::readOnlyReportShowsTheErrorBoxAndALaterClickWorks() {
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes(kRosterFileName, kRoster);
  testing::WriteFileBytes(kResultFileName, "earlier report\r\n");
  std::filesystem::permissions(kResultFileName, std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::group_read |
                                                    std::filesystem::perms::others_read);
  // Root writes through file modes, so the click happens in a child that is not root.
  std::string outcome = testing::RunAsNobody([this] {
    TBoxAnswerer answerer;
    QTest::mouseClick(button_, Qt::LeftButton);
    std::string seen;
    for (const TSeenBox& box : answerer.Seen()) {
      seen += box.Text.toStdString() + "|" + box.Title.toStdString() + "|" +
              std::to_string(static_cast<int>(box.Icon)) + "\n";
    }
    return seen;
  });
  QCOMPARE(QString::fromStdString(outcome),
           QStringLiteral("File access denied.||%1\n").arg(static_cast<int>(QMessageBox::Critical)));
  QCOMPARE(testing::ReadFileBytes(kResultFileName), std::string("earlier report\r\n"));
  QVERIFY(!std::filesystem::exists(kBattleLogFileName));

  // Once the report may be written again, the same window runs normally.
  std::filesystem::permissions(kResultFileName, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  TBoxAnswerer answerer;
  QTest::mouseClick(button_, Qt::LeftButton);
  QCOMPARE(answerer.Seen().size(), size_t{1});
  QCOMPARE(answerer.Seen()[0].Text, FromSjis(kClosingMessage));
  QVERIFY(testing::ReadFileBytes(kResultFileName).size() > 100);
}

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
