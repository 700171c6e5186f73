// The PictureButton button on Qt: feeds mouse, focus and hover-poll events to the core control and
// paints the faces it asks for (gradient, eight border slices of a state picture, caption).
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "controls/picture_button.h"

class QLabel;

namespace vx {

class QtPictureButton final : public QWidget, private PictureButtonSurface {
  Q_OBJECT

 public:
  // stored: the button's stored properties, as the form's layout keeps them.
  QtPictureButton(const PropertyBag& stored, QWidget* parent);

  PictureButton& Button() { return button_; }
  const QImage& Face() const { return face_; }
  QLabel* CaptionLabel() const { return caption_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Paint(const FaceDrawing& face) override;
  void SetCaptionEnabled(bool enabled) override;
  void SetCaption(const std::string& text) override;
  void SetCaptionColour(int32_t colour) override;
  void SetCaptionFont(const FontSpec& font) override;
  void StartHoverTimer(int interval_ms) override;
  void PollHover();

  QLabel* caption_;
  QTimer hover_timer_;
  QImage face_;
  PictureButton button_{*this};
};

// The font the dialog's layout asks for, on this platform.
FontSpec DialogFont();

}  // namespace vx
