// The settings dialog's form as designed: where every control stands, in twips, and what it
// says. Each platform's view lays out its own widgets from this one table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vx::dialog_form {

struct TwipsRect {
  int32_t left, top, width, height;
};

inline constexpr TwipsRect kForm{0, 0, 6765, 5010};
// The two black strips the ball runs in, above and below the panels.
inline constexpr std::array<TwipsRect, 2> kStrips{{{120, 120, 6495, 315}, {120, 4560, 6495, 315}}};
inline constexpr TwipsRect kMusicPanel{120, 480, 6495, 1755};
inline constexpr TwipsRect kDisplayPanel{120, 2280, 6495, 2175};

// The music panel; positions from the panel's top-left corner.
inline constexpr TwipsRect kMusicOutline{120, 120, 1515, 315};
inline constexpr TwipsRect kMusicHeading{120, 180, 1515, 255};
inline constexpr std::string_view kMusicHeadingText = "BGM";
// Music sources in the model's order (none, CD, file), each a radio mark and its caption.
inline constexpr std::array<std::string_view, 3> kSourceTexts = {"無し", "音楽CD", "MP3、WAV"};
inline constexpr TwipsRect SourceMark(int i) {
  constexpr std::array<int32_t, 3> tops = {840, 540, 1140};
  return {540, tops[static_cast<size_t>(i)], 195, 195};
}
inline constexpr TwipsRect SourceCaption(int i) {
  constexpr std::array<int32_t, 3> widths = {345, 645, 900};
  return {780, SourceMark(i).top, widths[static_cast<size_t>(i)], 195};
}
inline constexpr TwipsRect kRepeatBox{1800, 480, 615, 300};
inline constexpr TwipsRect kRepeatCaption{2460, 540, 990, 195};
inline constexpr std::string_view kRepeatCaptionText = "曲目をﾘﾋﾟｰﾄ";
inline constexpr TwipsRect kChooseFileButton{1800, 1080, 435, 315};
inline constexpr std::string_view kChooseFileText = "...";
inline constexpr TwipsRect kFileBox{2400, 1020, 3855, 495};

// The display panel; positions from the panel's top-left corner. Four bars, top to bottom.
inline constexpr std::array<std::string_view, 4> kBarHeadings = {"ｵﾌﾞｼﾞｪの高さ", "ｵﾌﾞｼﾞｴの幅",
                                                                 "表示ｵﾌﾞｼﾞｪ数", "ｽﾋﾟｰﾄﾞ"};
inline constexpr int32_t BarTop(int i) {
  return 180 + 480 * i;
}
inline constexpr TwipsRect BarOutline(int i) {
  return {120, BarTop(i), 1515, 315};
}
inline constexpr TwipsRect BarHeading(int i) {
  return {120, BarTop(i) + 60, 1515, 255};
}
inline constexpr TwipsRect Bar(int i) {
  return {1800, BarTop(i), 315, 375};
}
inline constexpr TwipsRect BarValueBox(int i) {
  constexpr std::array<int32_t, 4> widths = {570, 540, 540, 525};
  return {2220, BarTop(i) + 60, widths[static_cast<size_t>(i)], i == 0 ? 255 : 225};
}
inline constexpr TwipsRect kKindOutline{3360, 180, 1515, 315};
inline constexpr TwipsRect kKindHeading{3360, 240, 1515, 255};
inline constexpr std::string_view kKindHeadingText = "ｵﾌﾞｼﾞｪの種類";
// Atlas kinds in the model's order (scenery, letters).
inline constexpr std::array<std::string_view, 2> kKindTexts = {"風景", "文字"};
inline constexpr TwipsRect KindMark(int i) {
  return {4140 + 960 * i, 600, 195, 195};
}
inline constexpr TwipsRect KindCaption(int i) {
  return {4380 + 960 * i, 600, 390, 195};
}
inline constexpr TwipsRect kCredit{3180, 930, 3105, 195};
inline constexpr TwipsRect kLink{3180, 1200, 3105, 195};
inline constexpr TwipsRect kSetButton{3480, 1620, 1395, 375};
inline constexpr std::string_view kSetText = "設定";
inline constexpr TwipsRect kCancelButton{4920, 1620, 1395, 375};
inline constexpr std::string_view kCancelText = "ｷｬﾝｾﾙ";

// The dialog's font, as designed.
inline constexpr double kFontPoints = 9.75;

// What the file chooser says, and the messages refusing a chosen file.
inline constexpr std::string_view kChooserTitle = "ﾌｧｲﾙを選択";
inline constexpr std::string_view kChooserFilter = "BGMﾌｧｲﾙ (MP3 WAV)";
inline constexpr std::string_view kMessageTitle = "Vexlum(ScreenSaver)";
inline constexpr std::string_view kLineBreakMessage = "改行を含むﾌｧｲﾙ名は使えません!";
inline constexpr std::string_view kLongNameMessage = "ﾌｧｲﾙ名が長すぎます!";
inline constexpr std::string_view kUnusableNameMessage = "このﾌｧｲﾙ名は使えません!";

}  // namespace vx::dialog_form
