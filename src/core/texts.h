// The texts people read, in the Japanese the program has always shown and in English for
// everyone whose language is not Japanese. One table for every platform. Window captions, the
// settings file's section, keys and values, and the multimedia command strings are not texts
// of this kind: other programs find and read them, so they never change with the language.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vx {

enum class Language { kJapanese, kEnglish };

struct Text {
  std::string_view japanese;
  std::string_view english;
};

inline constexpr std::string_view Pick(const Text& text, Language language) {
  return language == Language::kJapanese ? text.japanese : text.english;
}

namespace texts {

// The saver's messages.
inline constexpr Text kPackMissing{"ﾌｧｲﾙ (Vexlum_Data.ppd) が見つかりません!",
                                   "The file Vexlum_Data.ppd cannot be found!"};
inline constexpr Text kPackDamaged{
    "ﾌｧｲﾙ (Vexlum_Data.ppd) が壊れています! 再インストールしてください。",
    "The file Vexlum_Data.ppd is damaged! Please install Vexlum again."};
inline constexpr Text kImagesUnwritable{
    "画像ﾌｧｲﾙ (Vexlum01.png, Vexlum02.png) を書き込めません!",
    "The image files (Vexlum01.png, Vexlum02.png) cannot be written!"};
inline constexpr Text kStartFailed{"画面の準備ができません!", "The screen cannot be prepared!"};
inline constexpr Text kFrameFailed{"画面の描画に失敗しました!", "Drawing the screen failed!"};

// The settings dialog's messages about a chosen music file.
inline constexpr Text kLineBreakName{"改行を含むﾌｧｲﾙ名は使えません!",
                                     "A file name with a line break cannot be used!"};
inline constexpr Text kLongName{"ﾌｧｲﾙ名が長すぎます!", "The file name is too long!"};
inline constexpr Text kUnusableName{"このﾌｧｲﾙ名は使えません!", "This file name cannot be used!"};
// The link to the program's own description, when nothing opens it (the file follows).
inline constexpr Text kCannotOpen{"このﾌｧｲﾙを開けません!", "This file cannot be opened!"};

// Every message a message box may show, for finding a message's English by its Japanese.
inline constexpr std::array kMessages = {kPackMissing, kPackDamaged,  kImagesUnwritable,
                                         kStartFailed, kFrameFailed,  kLineBreakName,
                                         kLongName,    kUnusableName, kCannotOpen};

}  // namespace texts

// A message in the language, line by line: each line that is one of texts::kMessages in
// Japanese becomes its English; any other line (a reason a library gave) stays as it is.
std::string Localize(std::string_view message, Language language);

// The language a POSIX locale asks for: LANGUAGE's first entry unless the locale is "C" or
// "POSIX", else the first of LC_ALL, LC_MESSAGES and LANG that is set. Japanese for "ja" and
// "ja_..."; English for everything else, an unset locale included. Null for an unset variable.
Language LanguageOfLocale(const char* language, const char* lc_all, const char* lc_messages,
                          const char* lang);

}  // namespace vx
