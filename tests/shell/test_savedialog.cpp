// The desktop save dialog behind Save Report: its settings, and that every
// way of ending it answers exactly once.
#include "ui/savelocationprovider.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Answers {
    int count = 0;
    std::optional<QString> last;
};

std::function<void(std::optional<QString>)> recordInto(Answers &answers)
{
    return [&answers](std::optional<QString> location) {
        ++answers.count;
        answers.last = std::move(location);
    };
}

const QStringList plainText{QStringLiteral("Plain text (*.txt)")};

TEST(FileDialogSaveLocationProviderTest, OpensASaveDialogForPlainText)
{
    FileDialogSaveLocationProvider provider;
    Answers answers;
    provider.askSaveLocation(QStringLiteral("Kestrin.txt"), plainText, recordInto(answers));
    QFileDialog *dialog = provider.activeDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), plainText);
    EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly)) << "folders could not be created";
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    ASSERT_FALSE(dialog->selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().constFirst()).fileName(),
              QStringLiteral("Kestrin.txt"));
    EXPECT_EQ(answers.count, 0);
    dialog->reject();
}

TEST(FileDialogSaveLocationProviderTest, CancelAnswersNothingOnce)
{
    FileDialogSaveLocationProvider provider;
    Answers answers;
    provider.askSaveLocation(QStringLiteral("Kestrin.txt"), plainText, recordInto(answers));
    ASSERT_NE(provider.activeDialog(), nullptr);
    QTest::keyClick(provider.activeDialog(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(answers.count, 1);
    EXPECT_FALSE(answers.last.has_value());
    EXPECT_EQ(provider.activeDialog(), nullptr);
}

TEST(FileDialogSaveLocationProviderTest, ConfirmAnswersTheChosenFile)
{
    QTemporaryDir dir;
    FileDialogSaveLocationProvider provider;
    Answers answers;
    provider.askSaveLocation(QStringLiteral("Kestrin.txt"), plainText, recordInto(answers));
    QFileDialog *dialog = provider.activeDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(dir.path());
    dialog->selectFile(dir.filePath(QStringLiteral("hardware")));
    // What the Save button does.
    QMetaObject::invokeMethod(dialog, "accept");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(answers.count, 1);
    ASSERT_TRUE(answers.last.has_value());
    // A name typed without extension gets the plain-text one.
    EXPECT_EQ(*answers.last, dir.filePath(QStringLiteral("hardware.txt")));
}

TEST(FileDialogSaveLocationProviderTest, SecondRequestWhileOpenIsCancelledAndKeepsOneDialog)
{
    FileDialogSaveLocationProvider provider;
    Answers first;
    Answers second;
    provider.askSaveLocation(QStringLiteral("Kestrin.txt"), plainText, recordInto(first));
    QFileDialog *dialog = provider.activeDialog();
    provider.askSaveLocation(QStringLiteral("Kestrin.txt"), plainText, recordInto(second));
    EXPECT_EQ(provider.activeDialog(), dialog);
    EXPECT_EQ(second.count, 1);
    EXPECT_FALSE(second.last.has_value());
    EXPECT_EQ(first.count, 0);
    dialog->reject();
    EXPECT_EQ(first.count, 1);
}

TEST(FileDialogSaveLocationProviderTest, ProviderGoingAwayAnswersCancelled)
{
    Answers answers;
    {
        FileDialogSaveLocationProvider provider;
        provider.askSaveLocation(QStringLiteral("Kestrin.txt"), plainText, recordInto(answers));
    }
    EXPECT_EQ(answers.count, 1);
    EXPECT_FALSE(answers.last.has_value());
}

} // namespace
