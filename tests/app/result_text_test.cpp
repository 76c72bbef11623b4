// How an engine failure is shown. Each test runs in a process of its own (CTest runs every
// test alone), which the translate-once rule needs: the first use fixes the language.
#include "result_text.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace hbx;
using namespace hbx::app;

namespace {
// A catalogue with German result messages, in the context the program uses.
class GermanMessages : public QTranslator {
public:
    QString translate(const char* context, const char* text, const char*, int) const override {
        if (QByteArray(context) != "QObject") return {};
        if (QByteArray(text) == "The lock target is on use.") {
            return QStringLiteral("Das Ziel ist in Gebrauch.");
        }
        return {};
    }
    bool isEmpty() const override { return false; }
};
}  // namespace

TEST(ResultText, MessageAndSystemError) {
    const struct {
        LockError error;
        const char* text;
    } cases[] = {
        {{6, 32}, "The lock target is on use. (32)"},
        {{4, 2}, "The lock target does not exist. (2)"},
        {{0, 0}, "Successful. (0)"},
        {{9, 5}, " (5)"},                  // outside the table: an empty message
        {{-1, 183}, " (183)"},
        {{1, -2147024891}, "Unknown error. (-2147024891)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(resultText(c.error), QString::fromUtf8(c.text));
    }
    // The program's texts are the engine's, so that the catalogues translate what it reports.
    for (std::int32_t code = 0; code <= 8; ++code) {
        SCOPED_TRACE(code);
        const LockError error{code, 7};
        EXPECT_EQ(resultText(error), QString::fromStdU16String(result_text(error)));
    }
}

TEST(ResultText, TranslatedOnceAtTheFirstUse) {
    GermanMessages german;
    QCoreApplication::installTranslator(&german);
    EXPECT_EQ(resultText({6, 32}), QStringLiteral("Das Ziel ist in Gebrauch. (32)"));
    // The main window switches back to English; failures keep the first language.
    QCoreApplication::removeTranslator(&german);
    EXPECT_EQ(resultText({6, 33}), QStringLiteral("Das Ziel ist in Gebrauch. (33)"));
    EXPECT_EQ(resultText({4, 2}), QStringLiteral("The lock target does not exist. (2)"));
}
