#include "platform/linux/qt_settings_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include "platform/common/user_language.h"
#include "platform/linux/qt_message_box.h"
#include "platform/linux/qt_picture_button.h"
#include "settings/settings.h"
#include "settings_dialog/dialog_form.h"

namespace vx {
namespace {

constexpr int kTwipsPerPixel = 15;

using dialog_form::kLineBreakMessage;
using dialog_form::kLongNameMessage;
using dialog_form::kMessageTitle;
using dialog_form::kUnusableNameMessage;

namespace form = dialog_form;

// Layout positions are kept in twips, as designed; the form's unit is the pixel.
QRect Tw(const form::TwipsRect& r) {
  return {r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel,
          r.height / kTwipsPerPixel};
}

QString U(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Pixmaps are made per call: a static QPixmap would outlive the application and crash the
// process as it exits. Images may outlive it.
QPixmap Mark(RadioMark mark) {
  static const QImage off(":/assets/radio_off.png");
  static const QImage on(":/assets/radio_on.png");
  if (mark == RadioMark::kOn) return QPixmap::fromImage(on);
  if (mark == RadioMark::kOff) return QPixmap::fromImage(off);
  return QPixmap();
}

RgbImage ToRgb(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  RgbImage out(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const uchar* line = rgb.constScanLine(y);
    for (int x = 0; x < rgb.width(); ++x)
      out.At(x, y) = {line[3 * x], line[3 * x + 1], line[3 * x + 2]};
  }
  return out;
}

// A clear mark around a focused control: the platform's own is faint or missing on the
// dialog's grey panels, and a keyboard's user must see where the keys go.
void DrawFocusMark(QWidget* widget) {
  QPainter p(widget);
  p.setPen(QPen(QColor(0, 64, 200), 2));
  p.drawRect(QRectF(widget->rect()).adjusted(1, 1, -1, -1));
}

// The message refusing a chosen music file, or nullopt when it may be stored. bytes: its name
// as the file system spells it, which is what the saver will open.
std::optional<std::string_view> MusicFileRefusal(const QString& chosen, const QByteArray& bytes) {
  // The settings file holds one value a line.
  if (bytes.contains('\r') || bytes.contains('\n')) return kLineBreakMessage;
  // A longer path would come back cut the next time the settings are read.
  if (static_cast<size_t>(bytes.size()) > kMusicPathLength) return kLongNameMessage;
  // A name that is not UTF-8 reaches us through QString mangled: it names another file or
  // none. A NUL would make the check below look at a shorter name.
  if (bytes.contains('\0') || QFile::decodeName(bytes) != chosen ||
      !FileExists(bytes.toStdString()))
    return kUnusableNameMessage;
  return std::nullopt;
}

// The music file's box: read-only, but it takes the focus and its text can be selected and
// copied.
class FileBox final : public QLabel {
 public:
  explicit FileBox(QWidget* parent) : QLabel(parent) {
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (hasFocus()) DrawFocusMark(this);
  }
};

// A panel with the metallic half-sine gradient and its heading outlines.
class GradientPanel final : public QWidget {
 public:
  // units_per_pixel: 1 for a panel that counts in pixels, 15 for one that counts in twips.
  GradientPanel(QWidget* parent, QRect geometry, int units_per_pixel) : QWidget(parent) {
    setGeometry(geometry);
    const std::vector<uint8_t> lines =
        PanelGradientLines(static_cast<double>(geometry.height()) * units_per_pixel);
    image_ = QImage(geometry.size(), QImage::Format_RGB32);
    for (int row = 0; row < geometry.height(); ++row) {
      // Many lines fall in one pixel row when counting in twips; the last one drawn stays.
      const size_t line =
          std::min(lines.size() - 1, static_cast<size_t>((row + 1) * units_per_pixel - 1));
      const uint8_t grey = lines[line];
      const QRgb colour = qRgb(grey, grey, grey);
      auto* pixels = reinterpret_cast<QRgb*>(image_.scanLine(row));
      std::fill(pixels, pixels + geometry.width(), colour);
    }
  }
  void AddOutline(QRect rect) { outlines_.push_back(rect); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, image_);
    p.setPen(Qt::black);
    for (const QRect& r : outlines_) p.drawRect(r.adjusted(0, 0, -1, -1));
  }

 private:
  QImage image_;
  std::vector<QRect> outlines_;
};

// A black strip showing one of the animation's strip pictures.
class StripWidget final : public QWidget {
 public:
  StripWidget(QWidget* parent, const RgbImage& picture) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const QImage image(reinterpret_cast<const uchar*>(picture_.Pixels().data()), picture_.Width(),
                       picture_.Height(), picture_.Width() * 3, QImage::Format_RGB888);
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, image);
  }

 private:
  const RgbImage& picture_;
};

// The layout's widths were measured with another font; a caption that needs more room gets it
// rather than losing its last letters.
void FitWidth(QLabel* label) {
  const int needed = label->sizeHint().width();
  if (needed > label->width()) label->resize(needed, label->height());
}

QLabel* Heading(QWidget* panel, QRect geometry, std::string_view text) {
  auto* label = new QLabel(U(text), panel);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  return label;
}

QLabel* ValueBox(QWidget* parent, QRect geometry, QLabel* box = nullptr) {
  if (!box) box = new QLabel(parent);
  box->setGeometry(geometry);
  box->setFrameStyle(QFrame::Box | QFrame::Plain);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
  palette.setColor(QPalette::WindowText, Qt::black);
  box->setPalette(palette);
  box->setAutoFillBackground(true);
  box->setAlignment(Qt::AlignCenter);
  return box;
}

}  // namespace

// A bar whose ▲ raises the number. A scroll bar's top is its smallest value and ▲, Up and
// PageUp step towards it, so the bar holds the number negated: its top is the largest number.
// Right raises the number too, Left lowers it. Qt's scroll bar takes no focus, which would
// leave it out of reach without a mouse.
class KeyboardScrollBar final : public QScrollBar {
 public:
  explicit KeyboardScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setFocusPolicy(Qt::StrongFocus);
  }
  void SetNumbers(int low, int high) { setRange(-high, -low); }
  void SetNumber(int number) { setValue(-number); }
  static int Number(int value) { return -value; }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
      triggerAction(event->key() == Qt::Key_Right ? SliderSingleStepSub : SliderSingleStepAdd);
      event->accept();
      return;
    }
    QScrollBar::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    QScrollBar::paintEvent(event);
    if (hasFocus()) DrawFocusMark(this);
  }
};

// A label that reports clicks: the radio marks, their captions and the link. One that takes the
// focus answers Space and Enter as a click and the arrows with `Step` (inside a group of
// choices), and shows the focus mark.
class ClickLabel final : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> Clicked;
  std::function<void(int)> Step;  // -1 for the choice before, +1 for the one after

 protected:
  void mousePressEvent(QMouseEvent*) override {
    if (Clicked) Clicked();
  }
  void keyPressEvent(QKeyEvent* event) override {
    int step = 0;
    switch (event->key()) {
      case Qt::Key_Space:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (Clicked) Clicked();
        event->accept();
        return;
      case Qt::Key_Left:
      case Qt::Key_Up:
        step = -1;
        break;
      case Qt::Key_Right:
      case Qt::Key_Down:
        step = 1;
        break;
      default:
        break;
    }
    if (step != 0 && Step) {
      Step(step);
      event->accept();
      return;
    }
    QLabel::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (hasFocus()) DrawFocusMark(this);
  }
};

QString MusicFileFilterDescription(Language language) {
  return U(Pick(dialog_form::kChooserFilter, language));
}

QStringList MusicFilePatterns() {
  return {"*.[Mm][Pp]3", "*.[Ww][Aa][Vv]"};
}

QtSettingsDialog::QtSettingsDialog(StartupState& state, ProfileStrings& profile,
                                   std::string settings_file, WindowSystem* windows,
                                   QWidget* parent)
    : QDialog(parent),
      state_(state),
      profile_(profile),
      settings_file_(std::move(settings_file)),
      windows_(windows),
      language_(UserLanguage()),
      model_(state.settings),
      animation_(Tw(dialog_form::kStrips[0]).width(), Tw(dialog_form::kStrips[0]).height(),
                 ToRgb(QImage(":/assets/ball.png"))) {
  show_message = [](std::string_view text) {
    ShowMessageBox(text, kMessageTitle, kMbIconExclamation, true);
  };
  choose_file = [this](QWidget* owner) -> std::optional<QString> {
    QFileDialog dialog(owner, U(Pick(dialog_form::kChooserTitle, language_)));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(MusicFileFilterDescription(language_) + " (" +
                         MusicFilePatterns().join(' ') + ")");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
  };
  open_url = [](const QUrl& url) {
    return (!url.isLocalFile() || QFile::exists(url.toLocalFile())) &&
           QDesktopServices::openUrl(url);
  };
  Build();
  model_.Load();
  ShowModel();
  for (QtPictureButton* button : findChildren<QtPictureButton*>()) button->Button().Initialize();
  connect(&timer_, &QTimer::timeout, this, [this] {
    animation_.Tick();
    for (QWidget* strip : strips_) strip->update();
  });
  timer_.start(BallAnimation::kIntervalMs);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    const DialogPlacement at = PlaceDialog(area.width(), area.height(), width(), height());
    move(area.left() + at.left, area.top() + at.top);
  }
}

QtSettingsDialog::~QtSettingsDialog() = default;

void QtSettingsDialog::Build() {
  setWindowTitle(U(kDialogCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowIcon(QIcon(":/assets/icon.png"));
  setFixedSize(Tw(form::kForm).size());
  QFont font("IPAPGothic");
  font.setPointSizeF(form::kFontPoints);
  setFont(font);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);

  for (int i = 0; i < 2; ++i) {
    auto* strip = new StripWidget(this, animation_.Strip(i));
    strip->setGeometry(Tw(form::kStrips[static_cast<size_t>(i)]));
    strip->setObjectName(QString("picDisplay%1").arg(i));
    strips_[static_cast<size_t>(i)] = strip;
  }
  // The panels get the platform's usual light palette again.
  auto* music = new GradientPanel(this, Tw(form::kMusicPanel), 1);
  auto* display = new GradientPanel(this, Tw(form::kDisplayPanel), kTwipsPerPixel);
  for (QWidget* panel : {static_cast<QWidget*>(music), static_cast<QWidget*>(display)})
    panel->setPalette(QApplication::palette());

  // Music panel.
  music->AddOutline(Tw(form::kMusicOutline));
  Heading(music, Tw(form::kMusicHeading), Pick(form::kMusicHeadingText, language_));
  for (int i = 0; i < 3; ++i) {
    const auto n = static_cast<size_t>(i);
    auto* mark = new ClickLabel(music);
    mark->setGeometry(Tw(form::SourceMark(i)));
    mark->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mark->setObjectName(QString("Img_BGM%1").arg(i));
    auto* caption = new ClickLabel(U(Pick(form::kSourceTexts[n], language_)), music);
    caption->setGeometry(Tw(form::SourceCaption(i)));
    caption->setObjectName(QString("lbl_BGM%1").arg(i));
    FitWidth(caption);
    auto choose = [this, i] {
      model_.ChooseMusicSource(i);
      ShowModel();
    };
    mark->Clicked = choose;
    caption->Clicked = choose;
    caption->Step = [this, i](int step) { StepChoice(music_captions_, kMusicOrder, i, step); };
    music_marks_[n] = mark;
    music_captions_[n] = caption;
  }
  repeat_ = new QComboBox(music);
  repeat_->setObjectName("BGM_Repeat");
  repeat_->setEditable(true);
  repeat_->setInsertPolicy(QComboBox::NoInsert);
  repeat_->setGeometry(Tw(form::kRepeatBox));
  connect(repeat_, &QComboBox::editTextChanged, this,
          [this](const QString& text) { model_.SetRepeatText(text.toStdString()); });
  auto* repeat_caption = new QLabel(U(Pick(form::kRepeatCaptionText, language_)), music);
  repeat_caption->setGeometry(Tw(form::kRepeatCaption));
  FitWidth(repeat_caption);
  auto* choose_file = new QtPictureButton(
      {{"Caption", std::string(Pick(form::kChooseFileText, language_))}}, music);
  choose_file->setObjectName("Cmd_BGM");
  choose_file->setGeometry(Tw(form::kChooseFileButton));
  connect(choose_file, &QtPictureButton::clicked, this, [this] { ChooseMusicFile(); });
  file_ = ValueBox(music, Tw(form::kFileBox), new FileBox(music));
  file_->setObjectName("lbl_Fname");
  file_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  file_->setTextFormat(Qt::PlainText);

  // Display panel.
  for (int i = 0; i < kBarCount; ++i) {
    const auto n = static_cast<size_t>(i);
    display->AddOutline(Tw(form::BarOutline(i)));
    Heading(display, Tw(form::BarHeading(i)), Pick(form::kBarHeadings[n], language_));
    auto* bar = new KeyboardScrollBar(display);
    bar->setObjectName(QString("VS%1").arg(i));
    bar->setGeometry(Tw(form::Bar(i)));
    bar->SetNumbers(model_.Bar(i).Min(), model_.Bar(i).Max());
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->SetNumber(model_.Bar(i).Min());
    bars_[n] = bar;
    bar_texts_[n] = ValueBox(display, Tw(form::BarValueBox(i)));
    bar_texts_[n]->setObjectName(QString("VS_lbl%1").arg(i));
    connect(bar, &QScrollBar::valueChanged, this, [this, i](int value) {
      model_.SetBar(i, KeyboardScrollBar::Number(value));
      bar_texts_[static_cast<size_t>(i)]->setText(QString::fromStdString(model_.BarText(i)));
    });
  }
  display->AddOutline(Tw(form::kKindOutline));
  Heading(display, Tw(form::kKindHeading), Pick(form::kKindHeadingText, language_));
  for (int i = 0; i < 2; ++i) {
    const auto n = static_cast<size_t>(i);
    auto* mark = new ClickLabel(display);
    mark->setGeometry(Tw(form::KindMark(i)));
    mark->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mark->setObjectName(QString("Img_Kind%1").arg(i));
    auto* caption = new ClickLabel(U(Pick(form::kKindTexts[n], language_)), display);
    caption->setGeometry(Tw(form::KindCaption(i)));
    caption->setObjectName(QString("lbl_Kind%1").arg(i));
    FitWidth(caption);
    auto choose = [this, i] {
      model_.ChooseAtlas(i);
      ShowModel();
    };
    mark->Clicked = choose;
    caption->Clicked = choose;
    caption->Step = [this, i](int step) { StepChoice(atlas_captions_, kAtlasOrder, i, step); };
    atlas_marks_[n] = mark;
    atlas_captions_[n] = caption;
  }
  auto* credit = new QLabel(QString("Vexlum %1").arg(VEXLUM_VERSION), display);
  credit->setGeometry(Tw(form::kCredit));
  // The link shows a short label styled as a link, and where it leads in its tooltip.
  auto* url = new ClickLabel(U(Pick(form::kLinkText, language_)), display);
  url->setObjectName("lbl_URL");
  url->setTextFormat(Qt::PlainText);
  url->setGeometry(Tw(form::kLink));
  FitWidth(url);
  url->setToolTip(QString(VEXLUM_HOME_PAGE));
  url->setFocusPolicy(Qt::StrongFocus);
  QFont underlined = font;
  underlined.setUnderline(true);
  url->setFont(underlined);
  url->setCursor(QCursor(QPixmap(":/assets/hand_cursor.png"), 12, 10));
  url->Clicked = [this] { OpenHomePage(); };
  url_ = url;
  for (QLabel* label : {credit, static_cast<QLabel*>(url)}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, label == url ? QColor(0, 0, 160) : Qt::black);
    label->setPalette(palette);
  }

  auto* set =
      new QtPictureButton({{"Caption", std::string(Pick(form::kSetText, language_))}}, display);
  set->setObjectName("Cmd_Set");
  set->setGeometry(Tw(form::kSetButton));
  connect(set, &QtPictureButton::clicked, this, [this] {
    model_.Save(profile_, settings_file_);
    accept();
  });
  auto* cancel =
      new QtPictureButton({{"Caption", std::string(Pick(form::kCancelText, language_))}}, display);
  cancel->setObjectName("Cmd_Can");
  cancel->setGeometry(Tw(form::kCancelButton));
  connect(cancel, &QtPictureButton::clicked, this, [this] { reject(); });
}

void QtSettingsDialog::ShowModel() {
  for (int i = 0; i < kBarCount; ++i) {
    const auto n = static_cast<size_t>(i);
    const QSignalBlocker block(bars_[n]);
    bars_[n]->SetNumber(model_.Bar(i).Value());
    bar_texts_[n]->setText(QString::fromStdString(model_.BarText(i)));
  }
  for (int i = 0; i < 2; ++i)
    atlas_marks_[static_cast<size_t>(i)]->setPixmap(Mark(model_.AtlasMark(i)));
  for (int i = 0; i < 3; ++i)
    music_marks_[static_cast<size_t>(i)]->setPixmap(Mark(model_.MusicMark(i)));
  // Tab stops once in each group of choices, at its chosen one (the first when none is).
  const auto tab_stop = [](auto& captions, const auto& order, auto chosen) {
    int stop = order[0];
    for (int i : order)
      if (chosen(i)) stop = i;
    for (size_t i = 0; i < captions.size(); ++i)
      captions[i]->setFocusPolicy(static_cast<int>(i) == stop ? Qt::StrongFocus : Qt::ClickFocus);
  };
  tab_stop(music_captions_, kMusicOrder,
           [this](int i) { return model_.MusicMark(i) == RadioMark::kOn; });
  tab_stop(atlas_captions_, kAtlasOrder,
           [this](int i) { return model_.AtlasMark(i) == RadioMark::kOn; });
  if (repeat_->count() == 0) {
    const QSignalBlocker block(repeat_);
    for (const std::string& entry : model_.RepeatList())
      repeat_->addItem(QString::fromStdString(entry));
    repeat_->setEditText(QString::fromStdString(model_.RepeatText()));
  }
  file_->setText(QFile::decodeName(QByteArray::fromStdString(model_.FileText())));
}

void QtSettingsDialog::ChooseMusicFile() {
  const std::optional<QString> chosen = choose_file(this);
  if (!chosen) return;
  const QByteArray bytes = QFile::encodeName(*chosen);
  if (const std::optional<std::string_view> refusal = MusicFileRefusal(*chosen, bytes)) {
    show_message(*refusal);
    return;
  }
  model_.SetMusicFile(bytes.toStdString());
  ShowModel();
}

template <size_t N>
void QtSettingsDialog::StepChoice(const std::array<ClickLabel*, N>& captions,
                                  const std::array<int, N>& order, int from, int step) {
  const auto at = static_cast<int>(std::find(order.begin(), order.end(), from) - order.begin());
  const int to =
      order[static_cast<size_t>((at + step + static_cast<int>(N)) % static_cast<int>(N))];
  captions[static_cast<size_t>(to)]->Clicked();
  captions[static_cast<size_t>(to)]->setFocus(Qt::TabFocusReason);
}

void QtSettingsDialog::OpenHomePage() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool opened = open_url(QUrl(QString(VEXLUM_HOME_PAGE)));
  QApplication::restoreOverrideCursor();
  if (!opened) show_message(std::string(texts::kCannotOpen.japanese) + "\n" + VEXLUM_HOME_PAGE);
}

void QtSettingsDialog::keyPressEvent(QKeyEvent* event) {
  // Esc closes the dialog as its close box does, writing nothing; Enter outside a button does
  // nothing (there is no default button).
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void QtSettingsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (zoomed_open_) return;
  zoomed_open_ = true;
  const QPoint cursor = QCursor::pos();
  state_.zoom_point_x = static_cast<int16_t>(cursor.x());
  state_.zoom_point_y = static_cast<int16_t>(cursor.y());
  if (windows_) ZoomOpen(*windows_, winId(), state_);
}

void QtSettingsDialog::done(int result) {
  timer_.stop();
  if (windows_) ZoomClose(*windows_, winId(), state_);
  QDialog::done(result);
}

}  // namespace vx
