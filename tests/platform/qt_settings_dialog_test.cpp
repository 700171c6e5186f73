// The settings dialog on Qt's offscreen platform: what it shows of the INI file, what its
// controls write back, and what it leaves alone.
#include "platform/linux/qt_settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/cp932.h"
#include "fakes/temp_dir.h"
#include "platform/linux/qt_picture_button.h"
#include "platform/offscreen_app.h"
#include "settings/ini_profile_strings.h"

namespace vx {
namespace {

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::OffscreenApp();
    SetLanguage("ja_JP.UTF-8");
  }
  // The locale the dialog takes its language from.
  static void SetLanguage(const char* lang) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
    setenv("LANG", lang, 1);
  }

  // Loads the settings from ini_text and opens the dialog on them.
  void Open(const std::string& ini_text) {
    dir_.Write("Vexlum.ini", ini_text);
    state_ = StartupState{};
    LoadSettings(state_.settings, profile_, File(), ScreenMetrics{});
    dialog_ = std::make_unique<QtSettingsDialog>(state_, profile_, File(), nullptr);
    told_.clear();
    dialog_->show_message = [this](std::string_view text) { told_.emplace_back(text); };
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    dialog_->activateWindow();
  }
  template <typename T = QWidget>
  T* Child(const QString& name) {
    T* child = dialog_->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
  }
  void Click(const QString& name) {
    QWidget* w = Child(name);
    // The buttons' hover poll reads the real cursor position, so put the cursor there too.
    QCursor::setPos(w->mapToGlobal(w->rect().center()));
    QTest::qWait(150);  // let a poll run: it must find the button under the cursor
    QTest::mouseMove(w);
    QTest::mouseClick(w, Qt::LeftButton);
  }
  // The marked choices, as "Kind1 BGM2".
  std::string Marks() {
    // Both through a pixmap, so both carry the same premultiplied rounding.
    const QImage on = QPixmap(":/assets/radio_on.png").toImage();
    std::string marks;
    for (const char* choice : {"Kind0", "Kind1", "BGM0", "BGM1", "BGM2"})
      if (Child<QLabel>(QString("Img_") + choice)->pixmap().toImage() == on)
        marks += (marks.empty() ? "" : " ") + std::string(choice);
    return marks;
  }
  // Picks the file of that name in the file-open dialog.
  void Choose(const QString& name) {
    dialog_->choose_file = [name](QWidget*) { return std::optional<QString>(name); };
    Click("Cmd_BGM");
  }
  // The name Qt gives the file whose path has these bytes.
  static QString Name(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
  }
  QString Shown() { return Child<QLabel>("lbl_Fname")->text(); }
  // A file under the test's folder, with the folders it needs; returns its path's bytes.
  std::string MakeFile(const std::string& relative) const {
    const std::filesystem::path path = dir_.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    return path.string();
  }
  std::string File() const { return dir_.File("Vexlum.ini"); }
  std::string Ini() const { return test::TempDir::Read(File()); }
  static std::string K(std::string_view key) { return Utf8ToCp932(key).value(); }

  test::TempDir dir_;
  IniProfileStrings profile_;
  StartupState state_;
  std::unique_ptr<QtSettingsDialog> dialog_;
  std::vector<std::string> told_;  // the messages shown, in order
};

TEST_F(SettingsDialogTest, ShowsTheFileAndSaveWritesTheEightKeysInRange) {
  // A stored path that is not UTF-8 is shown decoded and written back byte for byte.
  const std::string raw = MakeFile("\xFF\xFE.mp3");
  Open("[Section]\nLimite=0\n" + K("BGMﾘﾋﾟｰﾄ") + "=5\n" + K("BGMﾌｧｲﾙ") + "=" + raw + "\n");
  const int bars[] = {21, 18, 50, 20};
  const char* texts[] = {"21", "18", "10", "20"};  // the stored value, though out of range
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(-Child<QScrollBar>(QString("VS%1").arg(i))->value(), bars[i]);  // held negated
    EXPECT_EQ(Child<QLabel>(QString("VS_lbl%1").arg(i))->text(), texts[i]);
  }
  EXPECT_EQ(Marks(), "Kind0 BGM0");
  EXPECT_EQ(Shown(), Name(raw));
  auto* repeat = Child<QComboBox>("BGM_Repeat");
  EXPECT_EQ(repeat->currentText(), "5");
  EXPECT_EQ(repeat->count(), 52);
  repeat->lineEdit()->selectAll();
  QTest::keyClicks(repeat->lineEdit(), "2.5");
  Child<QScrollBar>("VS0")->setValue(-30);
  EXPECT_EQ(Child<QLabel>("VS_lbl0")->text(), "30");
  Click("Cmd_Set");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog_->isVisible());
  // Keys already in the file keep their places; the others follow in the dialog's order.
  EXPECT_EQ(Ini(), "[Section]\nLimite=50\n" + K("BGMﾘﾋﾟｰﾄ") + "=2\n" + K("BGMﾌｧｲﾙ") + "=" + raw +
                       "\nLetterHeight=30\nLetterWidth=18\nSpeedFactor=20\nKind=0\n" +
                       K("BGM区分") + "=0\n");
}

TEST_F(SettingsDialogTest, CancelAndCloseBoxWriteNothing) {
  const std::string before = "[Section]\nBGMﾌｧｲﾙ=/old.mp3\n";
  for (const bool close_box : {false, true}) {
    SCOPED_TRACE(close_box ? "close box" : "cancel");
    Open(before);
    Choose(Name(MakeFile("Song.Mp3")));
    Click("lbl_Kind1");
    Click("lbl_BGM1");
    if (close_box)
      dialog_->close();
    else
      Click("Cmd_Can");
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(Ini(), before);
  }
}

TEST_F(SettingsDialogTest, ChoicesFileAndKeysReachTheSavedFile) {
  Open("");
  Click("lbl_Kind1");
  EXPECT_EQ(Marks(), "Kind1 BGM0");
  Click("Img_BGM2");
  EXPECT_EQ(Marks(), "Kind1 BGM2");
  const std::string song = MakeFile("a.WAV");
  Choose(Name(song));
  dialog_->choose_file = [](QWidget*) { return std::optional<QString>(); };  // cancelled
  Click("Cmd_BGM");
  EXPECT_EQ(Shown(), Name(song));
  // Enter outside a button does nothing.
  QTest::keyClick(dialog_.get(), Qt::Key_Return);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(Ini(), "");
  Click("Cmd_Set");
  // A file without lines yet gets CR LF.
  EXPECT_EQ(Ini(),
            "[Section]\r\nLetterHeight=21\r\nLetterWidth=18\r\nLimite=100\r\nSpeedFactor=20\r\n"
            "Kind=1\r\n" +
                K("BGM区分") + "=2\r\n" + K("BGMﾘﾋﾟｰﾄ") + "=0\r\n" + K("BGMﾌｧｲﾙ") + "=" + song +
                "\r\n");
}

// Everything can be done without a mouse: Tab reaches every control in the form's order (each
// group of choices once, at its chosen one), each shows where the focus is, the arrows move a
// bar and a choice, Space presses a button, and Esc closes as the close box does.
TEST_F(SettingsDialogTest, TheKeyboardAloneReachesAndWorksEveryControl) {
  const std::string before = "[Section]\nLetterHeight=30\n";
  Open(before);
  const char* order[] = {"lbl_BGM0", "BGM_Repeat", "Cmd_BGM",   "lbl_Fname", "VS0",     "VS1",
                         "VS2",      "VS3",        "lbl_Kind0", "lbl_URL",   "Cmd_Set", "Cmd_Can"};
  QWidget* focus = Child("Cmd_Can");
  focus->setFocus();
  for (const char* name : order) {
    SCOPED_TRACE(name);
    QWidget* control = Child(name);
    const QImage unfocused = control->grab().toImage();
    QTest::keyClick(focus, Qt::Key_Tab);
    focus = QApplication::focusWidget();
    // An editable combo box hands the focus to its line edit.
    ASSERT_TRUE(focus == control || control->isAncestorOf(focus));
    if (focus == control) {
      EXPECT_NE(control->grab().toImage(), unfocused) << "no focus mark";
    }
  }
  // Up, PageUp and Right raise a bar; Down, PageDown and Left lower it.
  auto* bar = Child<QScrollBar>("VS0");
  bar->setFocus();
  for (auto key : {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Right, Qt::Key_Down})
    QTest::keyClick(bar, key);
  EXPECT_EQ(Child<QLabel>("VS_lbl0")->text(), "32");
  // The arrows move inside a group; Tab then stops at the new choice.
  Child("lbl_Kind0")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(Marks(), "Kind1 BGM0");
  EXPECT_EQ(QApplication::focusWidget(), Child("lbl_Kind1"));
  Child("lbl_BGM0")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // below 無し: MP3、WAV
  EXPECT_EQ(Marks(), "Kind1 BGM2");
  // "..." opens the file chooser from the keyboard.
  int chooser_opened = 0;
  dialog_->choose_file = [&](QWidget*) {
    ++chooser_opened;
    return std::optional<QString>();
  };
  QTest::keyClick(Child("Cmd_BGM"), Qt::Key_Space);
  EXPECT_EQ(chooser_opened, 1);
  // Esc writes nothing; Space on 設定 writes what was chosen.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(Ini(), before);
  Open(before);
  Child<QScrollBar>("VS0")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
  Child("lbl_Kind0")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  QTest::keyClick(Child("Cmd_Set"), Qt::Key_Space);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_NE(Ini().find("LetterHeight=31"), std::string::npos) << Ini();
  EXPECT_NE(Ini().find("Kind=1"), std::string::npos) << Ini();
}

// The upper arrow of every bar raises its number, the lower one lowers it.
TEST_F(SettingsDialogTest, TheUpperArrowRaisesEveryBar) {
  Open("");
  const int start[] = {21, 18, 100, 20};
  for (int i = 0; i < 4; ++i) {
    auto* bar = Child<QScrollBar>(QString("VS%1").arg(i));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
    EXPECT_EQ(Child<QLabel>(QString("VS_lbl%1").arg(i))->text(), QString::number(start[i] + 1));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    EXPECT_EQ(Child<QLabel>(QString("VS_lbl%1").arg(i))->text(), QString::number(start[i]));
  }
}

// Outside a Japanese locale every text is English; in one, the texts are the designed ones.
// The window's caption, which other programs look for, is the same in both.
TEST_F(SettingsDialogTest, TheTextsFollowTheUsersLanguageButTheCaptionDoesNot) {
  const struct {
    const char* lang;
    const char* set;
    const char* height;
    const char* letters;
  } languages[] = {{"C.UTF-8", "Save", "Glyph height", "Letters"},
                   {"de_DE.UTF-8", "Save", "Glyph height", "Letters"},
                   {"ja_JP.UTF-8", "設定", "ｵﾌﾞｼﾞｪの高さ", "文字"}};
  for (const auto& l : languages) {
    SCOPED_TRACE(l.lang);
    SetLanguage(l.lang);
    Open("");
    EXPECT_EQ(Child<QtPictureButton>("Cmd_Set")->CaptionLabel()->text(), QString(l.set));
    EXPECT_EQ(Child<QLabel>("lbl_Kind1")->text(), QString(l.letters));
    bool heading = false;
    for (QLabel* label : dialog_->findChildren<QLabel*>()) heading |= label->text() == l.height;
    EXPECT_TRUE(heading);
    EXPECT_EQ(dialog_->windowTitle(), QString("Vexlum(Screen Saver)の設定"));
  }
}

TEST_F(SettingsDialogTest, ChosenPathsAreTakenWholeUpTo4095BytesAndOthersRefusedWithAMessage) {
  Open("");
  // No one name may pass 255 bytes, so the long path runs through folders. Its kana take three
  // bytes each: a limit counted in characters would let a longer path through.
  std::string kana, relative;
  for (int i = 0; i < 50; ++i) kana += "ア";
  const size_t base = dir_.path().string().size() + 1;
  while (base + relative.size() + 250 < 4095) relative += kana + "/";
  relative += std::string(4095 - base - relative.size() - 4, 'f') + ".mp3";
  const std::string longest = MakeFile(relative);
  ASSERT_EQ(longest.size(), 4095u);
  Choose(Name(longest));
  ASSERT_EQ(Shown(), Name(longest));
  // Refused: line breaks, which the settings file cannot hold; a byte more; a name that is not
  // UTF-8, which the file-open dialog gives with U+FFFD for the bytes it could not decode,
  // naming no file; a lone surrogate, encoded as another name, of which a file exists here.
  for (const char* name : {"a\nb.mp3", "a\rb.mp3"}) Choose(Name(MakeFile(name)));
  Choose(Name(longest + "3"));
  Choose(Name(MakeFile("raw/\xFF.mp3")));
  const QString lone = QString(QChar(0xD800)) + ".mp3";
  MakeFile(QFile::encodeName(lone).toStdString());
  Choose(Name(dir_.path().string() + "/") + lone);
  EXPECT_EQ(Shown(), Name(longest));
  EXPECT_EQ(told_,
            (std::vector<std::string>{"改行を含むﾌｧｲﾙ名は使えません!",
                                      "改行を含むﾌｧｲﾙ名は使えません!", "ﾌｧｲﾙ名が長すぎます!",
                                      "このﾌｧｲﾙ名は使えません!", "このﾌｧｲﾙ名は使えません!"}));
  Click("Cmd_Set");
  EXPECT_EQ(profile_.GetString(kSettingsSection, kKeyMusicFile, File()), longest);
}

TEST_F(SettingsDialogTest, TheLinkOpensTheDescriptionUnderAWaitCursorOrSaysItCannot) {
  Open("");
  QUrl opened;
  Qt::CursorShape shape = Qt::ArrowCursor;
  bool can_open = true;
  dialog_->open_url = [&](const QUrl& url) {
    opened = url;
    if (QApplication::overrideCursor()) shape = QApplication::overrideCursor()->shape();
    return can_open;
  };
  auto* link = Child<QLabel>("lbl_URL");
  EXPECT_LE(link->x() + link->width(), link->parentWidget()->width()) << "runs off the panel";
  Click("lbl_URL");
  EXPECT_EQ(opened, QUrl(VEXLUM_HOME_PAGE));
  EXPECT_EQ(shape, Qt::WaitCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(told_.empty());
  can_open = false;
  link->setFocus();
  QTest::keyClick(link, Qt::Key_Return);
  ASSERT_EQ(told_.size(), 1u);
  EXPECT_EQ(told_[0], "このﾌｧｲﾙを開けません!\n" VEXLUM_HOME_PAGE);
  // The link's hand cursor points with its hot spot (12, 10): that pixel must be the finger tip.
  EXPECT_EQ(QImage(":/assets/hand_cursor.png").pixelColor(12, 10).alpha(), 255);
}

TEST_F(SettingsDialogTest, TheBallRunsAlongBothStripsAlike) {
  Open("");
  QTest::qWait(200);  // a few 30 ms ticks
  EXPECT_GT(dialog_->Animation().BallX(), 0);
  const QImage shot = dialog_->grab().toImage();
  EXPECT_EQ(shot.copy(Child("picDisplay0")->geometry()),
            shot.copy(Child("picDisplay1")->geometry()));
}

TEST_F(SettingsDialogTest, MusicFilePatternsMatchEitherCase) {
  for (const char* name : {"a.mp3", "B.WAV", "c.Mp3", "d.wAv", "e.txt", "f.mp4"})
    dir_.Write(name, "x");
  const QStringList found =
      QDir(QString::fromStdString(dir_.path().string()))
          .entryList(MusicFilePatterns(), QDir::Files | QDir::CaseSensitive, QDir::Name);
  EXPECT_EQ(found, (QStringList{"B.WAV", "a.mp3", "c.Mp3", "d.wAv"}));
}

}  // namespace
}  // namespace vx
