// The Print command's report on a text-only printer of the CUPS scheduler that
// scripts/test.sh runs: a raw queue delivering to a listener of the test.

#include "Cups.h"
#include "WindowFixture.h"

#include "platform/Printers.h"
#include "report/engine/sestavy.h"

#include <QElapsedTimer>

TEST(PrintCups, TheStateOnATextOnlyQueue) {
    REQUIRE_SCHEDULER();
    testsupport::LoopbackRawQueue queue;
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    const int index = platform::PrinterSystem::instance().printerNames().indexOf(queue.name());
    ASSERT_GE(index, 0);
    ASSERT_TRUE(platform::PrinterSystem::instance().isTextOnly(queue.name()));

    WindowFixture w;
    w.copyReportFiles(KOLV_RESOURCES_DIR);
    w.open(RealPropertyLibrary());
    w.chooseLanguage(0);
    w.enter("Edit1", "200");
    w.enter("Edit2", "1");
    w.window->preparePrint();
    w.window->report()->Popis = testsupport::uniqueName("KolvPrint");
    ASSERT_EQ(w.window->report()->PrintOn(index), 0);

    const QByteArray& received = queue.waitForJob(60000);
    QElapsedTimer timer;
    timer.start();
    while (!received.contains('\f') && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    const QString text = QString::fromUtf8(received);
    EXPECT_TRUE(text.contains("Teplota")) << received.toStdString();
    EXPECT_TRUE(text.contains("200" + w.sep() + "00"));
    EXPECT_TRUE(text.contains("2828" + w.sep() + "268"));
    EXPECT_EQ(received.count('\f'), 1);
    EXPECT_EQ(w.messages.messages(), QStringList());
}
