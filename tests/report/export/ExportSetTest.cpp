// A per-page export is one set of files: a later export of the same names that fails part way
// or is cancelled leaves the earlier set exactly as it was.

#include "support/ExportFixture.h"

#include "report/engine/document/RunProgress.h"
#include "report/engine/export/sest_str.h"

#include <QDirIterator>
#include <QMap>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

constexpr int kPages = 14;

// A progress window whose user stops the work once page `at` is under way.
struct StopAtPage final : RunProgress {
    explicit StopAtPage(int at) : at(at) {}
    void ShowItem(int n) override { stop = stop || n >= at; }
    void ShowSending() override {}
    const bool* cancelFlag() const override { return &stop; }
    int at;
    bool stop = false;
};

// Every file below `folder` (hidden ones too) with its bytes.
QMap<QString, QByteArray> filesIn(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readFile(path));
    }
    return files;
}

// Pages whose texts and pictures tell the two exports apart.
void fill(ExportDocument& d, const QString& version) {
    for (int page = 0; page < kPages; ++page) {
        d.text(page, 0, 0, 300, 20, QStringLiteral("%1 %2").arg(version).arg(page + 1));
        QImage image(6, 4, QImage::Format_RGB32);
        image.fill(version == u"earlier" ? Qt::red : Qt::blue);
        d.picture(page, 0, 40, 30, 20, image);
    }
}

} // namespace

TEST(ExportSet, AFailedOrCancelledExportLeavesTheEarlierSetByteForByte) {
    struct Export {
        const char* extension;
        std::function<bool(TSestVystup&, const QString&)> all;
    };
    const Export exports[] = {
        {".html", [](TSestVystup& d, const QString& f) { return SaveAllPagesHTML(d, f); }},
        {".emf", [](TSestVystup& d,
                    const QString& f) { return SaveAllPagesMetafile(d, f, ".emf", false, true); }},
        {".wmf", [](TSestVystup& d, const QString& f) {
             return SaveAllPagesMetafile(d, f, ".wmf", false, false);
         }}};
    enum Failure { FolderInTheWay, Cancelled };
    for (const Export& kind : exports) {
        for (const Failure failure : {FolderInTheWay, Cancelled}) {
            SCOPED_TRACE(std::string(kind.extension) +
                         (failure == Cancelled ? " cancelled" : " folder"));
            QTemporaryDir dir;
            const QString base = dir.filePath("report" + QString(kind.extension));
            ExportDocument earlier, later;
            fill(earlier, "earlier");
            fill(later, "later");
            ASSERT_TRUE(kind.all(earlier.doc, base));
            const QString third = PageFileName(base, 3, kind.extension);
            if (failure == FolderInTheWay) {
                ASSERT_TRUE(QFile::remove(third));
                ASSERT_TRUE(QDir(dir.path()).mkdir(QFileInfo(third).fileName()));
            }
            const QMap<QString, QByteArray> before = filesIn(dir.path());
            ASSERT_GE(before.size(), failure == Cancelled ? kPages : kPages - 1);

            StopAtPage user(3);
            if (failure == Cancelled) later.doc.SetProgress(&user);
            EXPECT_FALSE(kind.all(later.doc, base));
            EXPECT_EQ(filesIn(dir.path()).keys(), before.keys());
            EXPECT_TRUE(filesIn(dir.path()) == before);
            if (failure == Cancelled) {
                EXPECT_TRUE(user.stop);
                // Once the user lets it finish, the whole later set replaces the earlier one.
                later.doc.SetProgress(nullptr);
                ASSERT_TRUE(kind.all(later.doc, base));
                const QMap<QString, QByteArray> after = filesIn(dir.path());
                EXPECT_EQ(after.keys(), before.keys());
                for (const QString& name : after.keys())
                    EXPECT_NE(after[name], before[name]) << name.toStdString();
            }
        }
    }
}
