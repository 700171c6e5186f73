#include "platform/linux/qt_picture_button.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
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
  return QColor(v.red >> 8, v.green >> 8, v.blue >> 8);
}

MouseButton FromQt(Qt::MouseButton b) {
  if (b == Qt::LeftButton) return MouseButton::kLeft;
  return b == Qt::RightButton ? MouseButton::kRight : MouseButton::kMiddle;
}

}  // namespace

FontSpec DialogFont() {
  return FontSpec{"IPAPGothic", 9.75, false, false, 128};
}

QtPictureButton::QtPictureButton(const PropertyBag& stored, QWidget* parent)
    : QWidget(parent), caption_(new QLabel(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  // The caption passes the mouse on, so it behaves like the rest of the face.
  caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
  caption_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  hover_timer_.setParent(this);
  connect(&hover_timer_, &QTimer::timeout, this, [this] { PollHover(); });
  button_.on_click = [this] { emit clicked(); };
  button_.ReadProperties(stored, DialogFont());
}

void QtPictureButton::PollHover() {
  QWidget* under = QApplication::widgetAt(QCursor::pos());
  WindowUnderCursor where = WindowUnderCursor::kOther;
  if (under && (under == this || isAncestorOf(under)))
    where = WindowUnderCursor::kControl;
  else if (under && under == window())
    where = WindowUnderCursor::kParentForm;
  button_.HoverTick(where);
}

void QtPictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, face_);
  // The focused face differs from the idle one by a pale inner edge only; a keyboard's user
  // needs a mark that shows.
  if (hasFocus()) {
    p.setPen(QPen(QColor(0, 64, 200), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(3, 3, -4, -4));
  }
}

void QtPictureButton::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    button_.KeyPressed();
    e->accept();
    return;
  }
  QWidget::keyPressEvent(e);
}

void QtPictureButton::resizeEvent(QResizeEvent*) {
  button_.Resize(width() * kTwipsPerPixel, height() * kTwipsPerPixel, static_cast<float>(width()),
                 static_cast<float>(height()));
}

void QtPictureButton::mousePressEvent(QMouseEvent* e) {
  button_.MouseDown(FromQt(e->button()));
}

void QtPictureButton::mouseMoveEvent(QMouseEvent*) {
  button_.MouseMove();
}

void QtPictureButton::enterEvent(QEnterEvent*) {
  button_.MouseMove();
}

void QtPictureButton::mouseReleaseEvent(QMouseEvent* e) {
  button_.MouseUp(FromQt(e->button()));
}

void QtPictureButton::focusInEvent(QFocusEvent*) {
  button_.GotFocus();
}

void QtPictureButton::focusOutEvent(QFocusEvent*) {
  button_.LostFocus();
}

void QtPictureButton::Paint(const FaceDrawing& face) {
  face_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  face_.fill(Qt::transparent);
  if (face.opaque && !face_.isNull()) {
    QPainter p(&face_);
    QLinearGradient gradient(0, face.top.y, 0, face.bottom.y);
    gradient.setColorAt(0, Channels(face.top));
    gradient.setColorAt(1, Channels(face.bottom));
    p.fillRect(QRect(0, 0, face.bottom.x + 1, face.bottom.y + 1), gradient);
    const QImage& picture = Picture(face.picture);
    for (const Slice& s : face.slices) {
      p.drawImage(Pixels(s.dest_left, s.dest_top, s.dest_width, s.dest_height), picture,
                  Pixels(s.src_left, s.src_top, s.src_width, s.src_height));
    }
  }
  // The caption box is as tall as the font needs, centred where the layout puts it.
  const int text_height = caption_->fontMetrics().height();
  const int layout_height = 195 / kTwipsPerPixel;
  caption_->setGeometry(0, face.caption_top / kTwipsPerPixel - (text_height - layout_height) / 2,
                        face.caption_width / kTwipsPerPixel, text_height);
  update();
}

void QtPictureButton::SetCaptionEnabled(bool enabled) {
  caption_->setEnabled(enabled);
}

void QtPictureButton::SetCaption(const std::string& text) {
  caption_->setText(QString::fromStdString(text));
}

void QtPictureButton::SetCaptionColour(int32_t colour) {
  QPalette palette = caption_->palette();
  palette.setColor(QPalette::Active, QPalette::WindowText,
                   QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  palette.setColor(QPalette::Inactive, QPalette::WindowText,
                   palette.color(QPalette::Active, QPalette::WindowText));
  caption_->setPalette(palette);
}

void QtPictureButton::SetCaptionFont(const FontSpec& caption_font) {
  QFont font(QString::fromStdString(caption_font.face));
  font.setPointSizeF(caption_font.points);
  font.setBold(caption_font.bold);
  font.setItalic(caption_font.italic);
  caption_->setFont(font);
}

void QtPictureButton::StartHoverTimer(int interval_ms) {
  hover_timer_.start(interval_ms);
}

}  // namespace vx
