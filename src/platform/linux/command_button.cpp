#include "platform/linux/command_button.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace vx {
namespace {

constexpr int kTwipsPerPixel = 15;

const QImage& Picture(FacePicture picture) {
  static const QImage images[] = {
      QImage(":/assets/button_normal.png"),           QImage(":/assets/button_highlight.png"),
      QImage(":/assets/button_highlight_select.png"), QImage(":/assets/button_selected.png"),
      QImage(":/assets/button_pressed.png"),          QImage(":/assets/button_disable.png"),
  };
  return images[static_cast<int>(picture)];
}

QRect Pixels(int left, int top, int width, int height) {
  return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
          height / kTwipsPerPixel};
}

QColor Channels(const GradientVertex& v) {
  return QColor(v.Red >> 8, v.Green >> 8, v.Blue >> 8);
}

MouseButton Button(Qt::MouseButton b) {
  if (b == Qt::LeftButton) return MouseButton::Left;
  return b == Qt::RightButton ? MouseButton::Right : MouseButton::Middle;
}

}  // namespace

FontSpec DialogFont() {
  return FontSpec{"IPAPGothic", 9.75, false, false, 128};
}

CommandButton::CommandButton(const PropertyBag& stored, QWidget* parent)
    : QWidget(parent), caption_(new QLabel(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  // The caption passes the mouse on, so it behaves like the rest of the face.
  caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
  caption_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  hover_timer_.setParent(this);
  connect(&hover_timer_, &QTimer::timeout, this, [this] { PollHover(); });
  control_.Click = [this] { emit clicked(); };
  control_.ReadProperties(stored, DialogFont());
}

void CommandButton::PollHover() {
  QWidget* under = QApplication::widgetAt(QCursor::pos());
  WindowUnderCursor where = WindowUnderCursor::Other;
  if (under && (under == this || isAncestorOf(under)))
    where = WindowUnderCursor::Control;
  else if (under && under == window())
    where = WindowUnderCursor::ParentForm;
  control_.HoverTick(where);
}

void CommandButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, face_);
}

void CommandButton::resizeEvent(QResizeEvent*) {
  control_.Resize(width() * kTwipsPerPixel, height() * kTwipsPerPixel, static_cast<float>(width()),
                  static_cast<float>(height()));
}

void CommandButton::mousePressEvent(QMouseEvent* e) {
  control_.MouseDown(Button(e->button()));
}

void CommandButton::mouseMoveEvent(QMouseEvent*) {
  control_.MouseMove();
}

void CommandButton::enterEvent(QEnterEvent*) {
  control_.MouseMove();
}

void CommandButton::mouseReleaseEvent(QMouseEvent* e) {
  control_.MouseUp(Button(e->button()));
}

void CommandButton::focusInEvent(QFocusEvent*) {
  control_.GotFocus();
}

void CommandButton::focusOutEvent(QFocusEvent*) {
  control_.LostFocus();
}

void CommandButton::Paint(const FaceDrawing& face) {
  face_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  face_.fill(Qt::transparent);
  if (face.Opaque && !face_.isNull()) {
    QPainter p(&face_);
    QLinearGradient gradient(0, face.Top.Y, 0, face.Bottom.Y);
    gradient.setColorAt(0, Channels(face.Top));
    gradient.setColorAt(1, Channels(face.Bottom));
    p.fillRect(QRect(0, 0, face.Bottom.X + 1, face.Bottom.Y + 1), gradient);
    const QImage& picture = Picture(face.Picture);
    for (const Slice& s : face.Slices) {
      p.drawImage(Pixels(s.DestLeft, s.DestTop, s.DestWidth, s.DestHeight), picture,
                  Pixels(s.SrcLeft, s.SrcTop, s.SrcWidth, s.SrcHeight));
    }
  }
  // The caption box is as tall as the font needs, centred where the layout puts it.
  const int text_height = caption_->fontMetrics().height();
  const int layout_height = 195 / kTwipsPerPixel;
  caption_->setGeometry(0, face.CaptionTop / kTwipsPerPixel - (text_height - layout_height) / 2,
                        face.CaptionWidth / kTwipsPerPixel, text_height);
  update();
}

void CommandButton::SetCaptionEnabled(bool enabled) {
  caption_->setEnabled(enabled);
}

void CommandButton::SetCaption(const std::string& text) {
  caption_->setText(QString::fromStdString(text));
}

void CommandButton::SetCaptionColour(int32_t colour) {
  QPalette palette = caption_->palette();
  palette.setColor(QPalette::Active, QPalette::WindowText,
                   QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  palette.setColor(QPalette::Inactive, QPalette::WindowText,
                   palette.color(QPalette::Active, QPalette::WindowText));
  caption_->setPalette(palette);
}

void CommandButton::SetCaptionFont(const FontSpec& caption_font) {
  QFont font(QString::fromStdString(caption_font.Face));
  font.setPointSizeF(caption_font.Points);
  font.setBold(caption_font.Bold);
  font.setItalic(caption_font.Italic);
  caption_->setFont(font);
}

void CommandButton::StartHoverTimer(int interval_ms) {
  hover_timer_.start(interval_ms);
}

}  // namespace vx
