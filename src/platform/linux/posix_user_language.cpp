#include <cstdlib>

#include "platform/common/user_language.h"

namespace vx {

Language UserLanguage() {
  return LanguageOfLocale(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                          std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace vx
