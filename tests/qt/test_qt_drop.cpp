// A file dropped on the real main window: one local data file is opened as
// File > Open opens a chosen one; anything else is refused at the window's edge.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "data/sample_store.h"
#include "frontend/qt/qt_main_window.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"

namespace {

// The drag arrives over the charts, a child of the window, as a real one does.
bool offered(QtMainWindow* window, const QList<QUrl>& urls, QMimeData* data) {
    data->setUrls(urls);
    QDragEnterEvent enter(QPoint(400, 200), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->chart, &enter);
    return enter.isAccepted();
}

TEST(QtDrop, ADroppedDataFileIsOpenedAndOtherDragsAreRefused) {
    qtTestApplication();
    QtScratchPlace place;
    enterScratchPlace(&place, "korvex-qt-drop");
    auto* window = new QtMainWindow;

    // 600 records of 5 May 2005, interval 1 s, span 5; the extension in
    // capitals, the name in Latin-1, which a file manager sends as %E6.
    const QByteArray path = QByteArray(place.workDir) + "/r\xe6mp.KVD";
    std::FILE* file = std::fopen(path.constData(), "wb");
    ASSERT_NE(file, nullptr);
    const QByteArray bytes =
        QByteArray("\x64\0\5\0\x58\x02\0\0", 8) + QByteArray(12 + 600 * 9, '\x05');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    std::fclose(file);
    const QUrl ramp = QUrl::fromEncoded("file://" + path.toPercentEncoding("/"));

    QMimeData data;
    EXPECT_FALSE(offered(window, {QUrl::fromLocalFile("/tmp/notes.txt")}, &data));
    EXPECT_FALSE(offered(window, {ramp, ramp}, &data)) << "no single file to open";
    EXPECT_FALSE(offered(window, {QUrl("https://example.org/ramp.kvd")}, &data));
    ASSERT_TRUE(offered(window, {ramp}, &data));
    QDropEvent drop(QPointF(400, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->chart, &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();

    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(dataHeader.count, 600u);
    EXPECT_EQ(window->spanSelector->currentIndex(), 5);

    destroyTestWindow(&window);
    dataPresent = false; // the next test in this process starts without data
    dataHeader = {};
    std::remove(path.constData());
    leaveScratchPlace(&place);
}

} // namespace
