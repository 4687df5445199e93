#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/TextCodec.h"
#include "support/GuiTestSupport.h"

namespace {

TEST(GuiTestSupport, TypesTextBeyondAscii) {
    QLineEdit edit;
    const QString text = QString::fromUtf8("Prüfung: 80 € – ok");
    testsupport::typeText(&edit, text);
    EXPECT_EQ(edit.text(), text);
    EXPECT_EQ(platform::fromQt(edit.text()),
              "Pr\xFC"
              "fung: 80 \x80 \x96 ok");
}

TEST(GuiTestSupport, CollatorSortsNumbersByValueWithoutLang) {
    QCollator collator = testsupport::makeCollator();
    collator.setNumericMode(true);
    EXPECT_LT(collator.compare(u"Question 2", u"Question 10"), 0);
}

}  // namespace
