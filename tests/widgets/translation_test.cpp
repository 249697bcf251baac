// Which locales our windows speak English under: the locale names as LANG and LC_ALL carry them.
#include <gtest/gtest.h>

#include <QLocale>

#include "support/named_rows.h"
#include "widgets/translation.h"

namespace lumadot {
namespace {

using test::PrintTo;

struct LocaleCase {
  const char* name;
  bool english;
};

class TranslationChoice : public testing::TestWithParam<LocaleCase> {};

TEST_P(TranslationChoice, EnglishUnlessChineseOrC) {
  EXPECT_EQ(wantsEnglish(QLocale(QString::fromLatin1(GetParam().name))), GetParam().english) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Locales, TranslationChoice,
                         testing::Values(LocaleCase{"en_US.UTF-8", true}, LocaleCase{"zh_CN.UTF-8", false},
                                         LocaleCase{"C", false}, LocaleCase{"de_DE", true},
                                         LocaleCase{"zh_TW", false}, LocaleCase{"POSIX", false},
                                         LocaleCase{"C.UTF-8", false}, LocaleCase{"en_GB@euro", true},
                                         LocaleCase{"zh_HK.UTF-8", false}, LocaleCase{"", false}));

TEST(EnglishTranslation, AbsentForAProgramWithoutOne) {
  EXPECT_EQ(englishTranslation(QStringLiteral("no-such-program")), nullptr);
}

}  // namespace
}  // namespace lumadot
