// Qt's own buttons and dialogs speak the language of the program's windows.
#include "app/qttranslations.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QString Caption(QDialogButtonBox::StandardButton which)
{
    const QDialogButtonBox box(which);
    return box.button(which)->text();
}

TEST(QtTranslations, StandardButtonsArePolishWhileInstalled)
{
    auto translator = InstallQtTranslations();
    ASSERT_NE(translator, nullptr) << "Qt's Polish catalogue comes with qt6-translations-l10n (scripts/install-deps)";
    EXPECT_EQ(Caption(QDialogButtonBox::Cancel), QStringLiteral("Anuluj"));
    EXPECT_EQ(Caption(QDialogButtonBox::Save), QStringLiteral("Zachowaj"));
    translator.reset();
    EXPECT_EQ(Caption(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
}

} // namespace
