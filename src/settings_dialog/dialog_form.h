// The settings dialog's form as designed: where every control stands, in twips, and what it
// says (in Japanese, as designed, and in English). Each platform's view lays out its own
// widgets from this one table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/texts.h"

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
inline constexpr Text kMusicHeadingText{"BGM", "Music"};
// Music sources in the model's order (none, CD, file), each a radio mark and its caption.
inline constexpr std::array<Text, 3> kSourceTexts = {
    {{"無し", "None"}, {"音楽CD", "Audio CD"}, {"MP3、WAV", "MP3, WAV"}}};
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
inline constexpr Text kRepeatCaptionText{"曲目をﾘﾋﾟｰﾄ", "Repeat track"};
inline constexpr TwipsRect kChooseFileButton{1800, 1080, 435, 315};
inline constexpr Text kChooseFileText{"...", "..."};
inline constexpr TwipsRect kFileBox{2400, 1020, 3855, 495};

// The display panel; positions from the panel's top-left corner. Four bars, top to bottom.
inline constexpr std::array<Text, 4> kBarHeadings = {{{"ｵﾌﾞｼﾞｪの高さ", "Glyph height"},
                                                      {"ｵﾌﾞｼﾞｴの幅", "Glyph width"},
                                                      {"表示ｵﾌﾞｼﾞｪ数", "Columns"},
                                                      {"ｽﾋﾟｰﾄﾞ", "Speed"}}};
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
inline constexpr Text kKindHeadingText{"ｵﾌﾞｼﾞｪの種類", "Glyphs"};
// Atlas kinds in the model's order (scenery, letters).
inline constexpr std::array<Text, 2> kKindTexts = {{{"風景", "Scenes"}, {"文字", "Letters"}}};
inline constexpr TwipsRect KindMark(int i) {
  return {4140 + 960 * i, 600, 195, 195};
}
inline constexpr TwipsRect KindCaption(int i) {
  return {4380 + 960 * i, 600, 390, 195};
}
inline constexpr TwipsRect kCredit{3180, 930, 3105, 195};
inline constexpr TwipsRect kLink{3180, 1200, 3105, 195};
// A short label for the program's description: an address would not fit the box.
inline constexpr Text kLinkText{"Vexlum の説明 (README)", "About Vexlum (README)"};
inline constexpr TwipsRect kSetButton{3480, 1620, 1395, 375};
inline constexpr Text kSetText{"設定", "Save"};
inline constexpr TwipsRect kCancelButton{4920, 1620, 1395, 375};
inline constexpr Text kCancelText{"ｷｬﾝｾﾙ", "Cancel"};

// The dialog's font, as designed.
inline constexpr double kFontPoints = 9.75;

// What the file chooser says, and the messages refusing a chosen file.
inline constexpr Text kChooserTitle{"ﾌｧｲﾙを選択", "Choose a music file"};
inline constexpr Text kChooserFilter{"BGMﾌｧｲﾙ (MP3 WAV)", "Music files (MP3 WAV)"};
inline constexpr std::string_view kMessageTitle = "Vexlum(ScreenSaver)";
inline constexpr std::string_view kLineBreakMessage = texts::kLineBreakName.japanese;
inline constexpr std::string_view kLongNameMessage = texts::kLongName.japanese;
inline constexpr std::string_view kUnusableNameMessage = texts::kUnusableName.japanese;

}  // namespace vx::dialog_form
