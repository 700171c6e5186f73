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

#include "core/texts.h"
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
class ClickLabel;
class KeyboardScrollBar;

// The file-open dialog's filter: its description and patterns that match either case.
QString MusicFileFilterDescription(Language language);
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
  // False when nothing could open the address.
  std::function<bool(const QUrl&)> open_url;
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
  // An arrow inside a group of choices: chooses the one `step` places from `from` in the
  // group's order on the form, and moves the focus to it.
  template <size_t N>
  void StepChoice(const std::array<ClickLabel*, N>& captions, const std::array<int, N>& order,
                  int from, int step);

  // The choices in their order on the form: the music sources top to bottom (CD, none, file),
  // the atlases left to right.
  static constexpr std::array<int, 3> kMusicOrder = {1, 0, 2};
  static constexpr std::array<int, 2> kAtlasOrder = {0, 1};

  StartupState& state_;
  ProfileStrings& profile_;
  std::string settings_file_;
  WindowSystem* windows_;
  Language language_;
  SettingsDialogModel model_;
  BallAnimation animation_;
  QTimer timer_;
  bool zoomed_open_ = false;
  std::array<QWidget*, 2> strips_{};
  std::array<KeyboardScrollBar*, kBarCount> bars_{};
  std::array<QLabel*, kBarCount> bar_texts_{};
  std::array<QLabel*, 2> atlas_marks_{};
  std::array<QLabel*, 3> music_marks_{};
  std::array<ClickLabel*, 2> atlas_captions_{};
  std::array<ClickLabel*, 3> music_captions_{};
  QComboBox* repeat_ = nullptr;
  QLabel* file_ = nullptr;
  QLabel* url_ = nullptr;
};

}  // namespace vx
