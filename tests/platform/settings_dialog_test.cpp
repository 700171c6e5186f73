#include "platform/linux/settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "core/cp932.h"
#include "fakes/temp_dir.h"
#include "platform/linux/picture_button_widget.h"
#include "startup/ini_profile_strings.h"

namespace vx {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "vexlum_platform_tests";
  static char* argv[] = {name, nullptr};
  // Never on the real display: a dialog window there carries the caption that makes every
  // saver started meanwhile on that display end at once, as a second instance.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: at exit the input devices QTest made would be deleted after the
  // application and crash the process.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }

  // Loads the settings from ini_text (none: no file) and opens the dialog on them.
  SettingsDialog& Open(const std::optional<std::string>& ini_text) {
    if (ini_text) dir.Write("Vexlum.ini", *ini_text);
    state = StartupState{};
    LoadSettings(state.settings, profile, File(), ScreenMetrics{});
    dialog = std::make_unique<SettingsDialog>(state, profile, File(), nullptr);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->activateWindow();
    return *dialog;
  }
  template <typename T>
  T* Child(const char* name) {
    T* child = dialog->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  void Click(const char* name) {
    QWidget* w = Child<QWidget>(name);
    // The buttons' hover poll reads the real cursor position, so put the cursor there too.
    QCursor::setPos(w->mapToGlobal(w->rect().center()));
    QTest::qWait(150);  // let a poll run: it must find the button under the cursor
    QTest::mouseMove(w);
    QTest::mouseClick(w, Qt::LeftButton);
  }
  std::string File() const { return dir.File("Vexlum.ini"); }
  std::string Ini() const { return test::TempDir::Read(File()); }
  static std::string K(std::string_view key) { return Utf8ToCp932(key).value(); }
  bool Marked(const char* name) {
    // Both through a pixmap, so both carry the same premultiplied rounding.
    return Child<QLabel>(name)->pixmap().toImage() == QPixmap(":/assets/radio_on.png").toImage();
  }

  test::TempDir dir;
  IniProfileStrings profile;
  StartupState state;
  std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, EmptyFileShowsDefaultsAndSaveWritesTheEightKeys) {
  Open("");
  const int bars[] = {21, 18, 100, 20};
  for (int i = 0; i < 4; ++i) {
    const QByteArray n = QByteArray::number(i);
    EXPECT_EQ(Child<QScrollBar>("VS" + n)->value(), bars[i]);
    EXPECT_EQ(Child<QLabel>("VS_lbl" + n)->text(), QString::number(bars[i]));
  }
  EXPECT_TRUE(Marked("Img_Kind0"));
  EXPECT_FALSE(Marked("Img_Kind1"));
  EXPECT_TRUE(Marked("Img_BGM0"));
  EXPECT_FALSE(Marked("Img_BGM1"));
  EXPECT_FALSE(Marked("Img_BGM2"));
  EXPECT_EQ(Child<QComboBox>("BGM_Repeat")->currentText(), "");
  EXPECT_EQ(Child<QComboBox>("BGM_Repeat")->count(), 52);
  EXPECT_EQ(Child<QLabel>("lbl_Fname")->text(), "");
  Click("Cmd_Set");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Ini(),
            "[Section]\nLetterHeight=21\nLetterWidth=18\nLimite=100\nSpeedFactor=20\n"
            "Kind=0\n" +
                K("BGM区分") + "=0\n" + K("BGMﾘﾋﾟｰﾄ") + "=0\n" + K("BGMﾌｧｲﾙ") + "=\n");
}

TEST_F(SettingsDialogTest, OutOfRangeLimiteIsBroughtIntoRange) {
  Open("[Section]\nLimite=0\n");
  EXPECT_EQ(Child<QScrollBar>("VS2")->value(), 50);
  EXPECT_EQ(Child<QLabel>("VS_lbl2")->text(), "10");
  Child<QScrollBar>("VS0")->setValue(30);
  EXPECT_EQ(Child<QLabel>("VS_lbl0")->text(), "30");
  Click("Cmd_Set");
  EXPECT_NE(Ini().find("Limite=50\n"), std::string::npos);
  EXPECT_NE(Ini().find("LetterHeight=30\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, TypedRepeatTextIsStoredAsAWholeNumber) {
  for (auto [typed, stored] : {std::pair{"3", "3"}, {"2.5", "2"}, {"abc", "0"}}) {
    Open("[Section]\nBGMﾘﾋﾟｰﾄ=5\n");
    auto* combo = Child<QComboBox>("BGM_Repeat");
    EXPECT_EQ(combo->currentText(), "5");
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), typed);
    Click("Cmd_Set");
    EXPECT_EQ(profile.GetString("Section", "BGMﾘﾋﾟｰﾄ", File()), stored) << typed;
  }
}

TEST_F(SettingsDialogTest, CancelAndCloseBoxWriteNothing) {
  const std::string before = "[Section]\nBGMﾌｧｲﾙ=/old.mp3\n";
  Open(before);
  dialog->choose_file = [](QWidget*) { return std::optional<QString>("/new/Song.Mp3"); };
  Click("Cmd_BGM");
  EXPECT_EQ(Child<QLabel>("lbl_Fname")->text(), "/new/Song.Mp3");
  Click("lbl_Kind1");
  Click("Cmd_Can");
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(Ini(), before);

  Open(before);
  Click("lbl_BGM1");
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Ini(), before);
}

TEST_F(SettingsDialogTest, ChoicesFileAndKeysReachTheSavedFile) {
  Open(std::nullopt);
  Click("lbl_Kind1");
  EXPECT_TRUE(Marked("Img_Kind1"));
  EXPECT_FALSE(Marked("Img_Kind0"));
  Click("Img_BGM2");
  EXPECT_TRUE(Marked("Img_BGM2"));
  EXPECT_FALSE(Marked("Img_BGM0"));
  dialog->choose_file = [](QWidget*) { return std::optional<QString>("/m/a.WAV"); };
  Click("Cmd_BGM");
  dialog->choose_file = [](QWidget*) { return std::optional<QString>(); };  // cancelled
  Click("Cmd_BGM");
  EXPECT_EQ(Child<QLabel>("lbl_Fname")->text(), "/m/a.WAV");
  // Enter and Esc do nothing.
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  QTest::keyClick(dialog.get(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(std::filesystem::exists(File()));
  Click("Cmd_Set");
  const std::string ini = Ini();
  EXPECT_NE(ini.find("Kind=1\n"), std::string::npos);
  EXPECT_NE(ini.find(K("BGM区分") + "=2\n"), std::string::npos);
  EXPECT_NE(ini.find(K("BGMﾌｧｲﾙ") + "=/m/a.WAV\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, LinkOpensWhatItShowsUnderAWaitCursor) {
  Open("");
  QUrl opened;
  Qt::CursorShape shape = Qt::ArrowCursor;
  dialog->open_url = [&](const QUrl& url) {
    opened = url;
    if (QApplication::overrideCursor()) shape = QApplication::overrideCursor()->shape();
  };
  auto* link = Child<QLabel>("lbl_URL");
  EXPECT_EQ(link->text(), VEXLUM_HOME_PAGE);
  EXPECT_TRUE(link->font().underline());
  Click("lbl_URL");
  EXPECT_EQ(opened, QUrl(VEXLUM_HOME_PAGE));
  EXPECT_EQ(shape, Qt::WaitCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SettingsDialogTest, WindowAndAnimation) {
  Open("");
  EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Vexlum(Screen Saver)の設定"));
  EXPECT_EQ(dialog->size(), QSize(451, 334));
  QTest::qWait(200);  // a few 30 ms ticks
  const BallAnimation& anim = dialog->Animation();
  EXPECT_GT(anim.BallX(), 0);
  EXPECT_EQ(anim.Strip(0), anim.Strip(1));
  const QImage shot = dialog->grab().toImage();
  auto* strip0 = Child<QWidget>("picDisplay0");
  auto* strip1 = Child<QWidget>("picDisplay1");
  EXPECT_EQ(shot.copy(strip0->geometry()), shot.copy(strip1->geometry()));
  if (const char* path = std::getenv("VEXLUM_DIALOG_SCREENSHOT")) shot.save(path);
}

TEST(MusicFileFilter, PatternsMatchEitherCase) {
  test::TempDir dir;
  for (const char* name : {"a.mp3", "B.WAV", "c.Mp3", "d.wAv", "e.txt", "f.mp4"})
    dir.Write(name, "x");
  QDir folder(QString::fromStdString(dir.path().string()));
  const QStringList found =
      folder.entryList(MusicFilePatterns(), QDir::Files | QDir::CaseSensitive, QDir::Name);
  EXPECT_EQ(found, (QStringList{"B.WAV", "a.mp3", "c.Mp3", "d.wAv"}));
  EXPECT_EQ(MusicFileFilterDescription(), QString::fromUtf8("BGMﾌｧｲﾙ (MP3 WAV)"));
}

TEST(CommandButtonWidget, PaintsTheStatePictureOverTheGradient) {
  App();
  PictureButtonWidget button({{"Caption", "設定"}}, nullptr);
  button.resize(93, 25);
  button.show();  // a hidden widget gets its size only when shown
  button.Button().Initialize();
  const QImage normal(":/assets/button_normal.png");
  ASSERT_FALSE(normal.isNull());
  const QImage& face = button.Face();
  EXPECT_EQ(face.pixelColor(2, 0), normal.pixelColor(2, 0));               // top edge slice
  EXPECT_EQ(face.pixelColor(90, 23), normal.pixelColor(61, 23));           // bottom right corner
  EXPECT_GT(face.pixelColor(40, 5).red(), face.pixelColor(40, 20).red());  // light to lavender
  EXPECT_EQ(button.CaptionLabel()->text(), "設定");
  button.Button().MouseMove();  // hover flips the gradient
  EXPECT_LT(button.Face().pixelColor(40, 5).red(), button.Face().pixelColor(40, 20).red());
}

}  // namespace
}  // namespace vx
