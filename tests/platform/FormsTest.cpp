#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "platform/mod_Forms.h"

namespace {

using Names = std::vector<std::string>;

TEST(Forms, RegisteredWindowsAreFoundByExactName) {
    const auto exam = std::make_unique<QWidget>();
    const auto evaluate = std::make_unique<QWidget>();
    mod_Forms::Register(exam.get(), "frm_Exam");
    mod_Forms::Register(evaluate.get(), "frm_Evaluate");

    EXPECT_TRUE(mod_Forms::IsFormLoaded("frm_Exam"));
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_exam"));
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Ex"));
    EXPECT_EQ(mod_Forms::Find("frm_Evaluate"), evaluate.get());
    EXPECT_EQ(mod_Forms::Find("mdi_Main"), nullptr);
    EXPECT_EQ(mod_Forms::OpenWindowNames(), (Names{"frm_Exam", "frm_Evaluate"}));

    // Registering again renames without a second entry.
    mod_Forms::Register(exam.get(), "frm_Review");
    EXPECT_EQ(mod_Forms::OpenWindowNames(), (Names{"frm_Review", "frm_Evaluate"}));
}

TEST(Forms, DestroyedWindowsLeaveWithTheirChildren) {
    auto main = std::make_unique<QWidget>();
    auto* child = new QWidget(main.get());
    mod_Forms::Register(main.get(), "mdi_Main");
    mod_Forms::Register(child, "frm_Exam");
    auto other = std::make_unique<QWidget>();
    mod_Forms::Register(other.get(), "frm_Options");

    main.reset();
    EXPECT_FALSE(mod_Forms::IsFormLoaded("mdi_Main"));
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Exam"));
    EXPECT_EQ(mod_Forms::OpenWindowNames(), (Names{"frm_Options"}));
    other.reset();
    EXPECT_TRUE(mod_Forms::OpenWindowNames().empty());
}

TEST(Forms, ScheduledDeletionCountsAsLoadedUntilItHappens) {
    auto exam = std::make_unique<QWidget>();
    mod_Forms::Register(exam.get(), "frm_Exam");
    exam.release()->deleteLater();  // the event loop owns it now
    EXPECT_TRUE(mod_Forms::IsFormLoaded("frm_Exam"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Exam"));
}

}  // namespace
