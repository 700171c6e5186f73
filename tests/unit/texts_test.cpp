#include "core/texts.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(Texts, TheLocaleVariablesChooseTheLanguageAsMessagesDo) {
  const struct {
    const char *language, *lc_all, *lc_messages, *lang;
    Language expected;
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr, Language::kEnglish},  // nothing set: the C locale
      {nullptr, nullptr, nullptr, "ja_JP.UTF-8", Language::kJapanese},
      {nullptr, nullptr, nullptr, "ja", Language::kJapanese},
      {nullptr, nullptr, nullptr, "jam_JM.UTF-8", Language::kEnglish},
      {nullptr, nullptr, "ja_JP.eucJP", "en_US.UTF-8", Language::kJapanese},
      {nullptr, "de_DE.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::kEnglish},
      {"ja:en", nullptr, nullptr, "en_GB.UTF-8", Language::kJapanese},  // LANGUAGE's first wins
      {"en:ja", nullptr, nullptr, "ja_JP.UTF-8", Language::kEnglish},
      {"ja", nullptr, nullptr, "C.UTF-8", Language::kEnglish},  // but not over the C locale
      {"", "", "", "ja_JP.UTF-8", Language::kJapanese},         // empty counts as unset
  };
  for (const auto& c : cases)
    EXPECT_EQ(LanguageOfLocale(c.language, c.lc_all, c.lc_messages, c.lang), c.expected)
        << (c.language ? c.language : "-") << " " << (c.lc_all ? c.lc_all : "-") << " "
        << (c.lc_messages ? c.lc_messages : "-") << " " << (c.lang ? c.lang : "-");
}

TEST(Texts, AMessageIsTranslatedLineByLineAndItsReasonKept) {
  const std::string message =
      std::string(texts::kStartFailed.japanese) + "\nGL: cannot create a context";
  EXPECT_EQ(Localize(message, Language::kEnglish),
            "The screen cannot be prepared!\nGL: cannot create a context");
  EXPECT_EQ(Localize(message, Language::kJapanese), message);
  EXPECT_EQ(Localize(texts::kPackDamaged.japanese, Language::kEnglish),
            texts::kPackDamaged.english);
  EXPECT_EQ(Localize("", Language::kEnglish), "");
  EXPECT_EQ(Localize("a\n\nb", Language::kEnglish), "a\n\nb");
}

}  // namespace
}  // namespace vx
