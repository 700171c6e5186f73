// The settings dialog on Qt: the form, its panels and controls at the layout's positions,
// driven by the core's dialog model and ball animation.
#pragma once

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ports/window_system.h"
#include "settings_dialog/ball_animation.h"
#include "settings_dialog/dialog_layout.h"
#include "settings_dialog/settings_dialog_model.h"
#include "startup/mode_dispatch.h"

class QComboBox;
class QLabel;
class QScrollBar;

namespace vx {

class QtPictureButton;

// The file-open dialog's filter: its description and patterns that match either case.
QString MusicFileFilterDescription();
QStringList MusicFilePatterns();

class QtSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  // windows may be null (no zoom outline then).
  QtSettingsDialog(StartupState& state, ProfileStrings& profile, std::string settings_file,
                   WindowSystem* windows, QWidget* parent = nullptr);
  ~QtSettingsDialog() override;

  // Replaceable for tests: the file-open dialog (nullopt when cancelled), the browser and the
  // message box.
  std::function<std::optional<QString>(QWidget*)> choose_file;
  std::function<void(const QUrl&)> open_url;
  std::function<void(std::string_view)> show_message;

  const SettingsDialogModel& Model() const { return model_; }
  const BallAnimation& Animation() const { return animation_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void Build();
  void ShowModel();
  void ChooseMusicFile();
  void OpenHomePage();

  StartupState& state_;
  ProfileStrings& profile_;
  std::string settings_file_;
  WindowSystem* windows_;
  SettingsDialogModel model_;
  BallAnimation animation_;
  QTimer timer_;
  bool zoomed_open_ = false;
  std::array<QWidget*, 2> strips_{};
  std::array<QScrollBar*, kBarCount> bars_{};
  std::array<QLabel*, kBarCount> bar_texts_{};
  std::array<QLabel*, 2> atlas_marks_{};
  std::array<QLabel*, 3> music_marks_{};
  QComboBox* repeat_ = nullptr;
  QLabel* file_ = nullptr;
  QLabel* url_ = nullptr;
};

}  // namespace vx
