// Embedding a 1 MB JPEG photo into a 25 KB page through the image window (with the store of the
// page), and switching from that page to the next one and back.
#include "common/answeringdialogs.h"
#include "common/benchmain.h"
#include "maker/document/makerdocument.h"
#include "maker/media/imagewindow.h"
#include "maker/shell/mainwindow.h"
#include "winsvc/dialogs.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCharFormat>

#include <benchmark/benchmark.h>

using namespace quillo;
using namespace quillo::maker;

namespace {

// A photo-like JPEG of about 1 MB: smooth gradients with fine noise, as a camera gives.
QByteArray photo() {
    QImage image(1600, 1200, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(40));
            line[x] = qRgb((x / 7 + n) & 0xFF, (y / 5 + n) & 0xFF, ((x + y) / 11 + n) & 0xFF);
        }
    }
    for (int quality = 95; quality > 10; quality -= 5) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", quality);
        if (bytes.size() <= 1024 * 1024)
            return bytes;
    }
    return {};
}

// About 25 KB of page text.
QString pageText() {
    QString text;
    for (int i = 0; text.size() < 12000; ++i)
        text += QStringLiteral("ヘルプの本文 line %1 with some words.\n").arg(i);
    return text;
}

struct Setup {
    QTemporaryDir dir;
    bench::AnsweringDialogs dialogs;
    std::unique_ptr<MakerMainWindow> window;
    ImageWindow* images = nullptr;

    Setup() {
        qputenv("QUILLO_HOME", dir.path().toLocal8Bit());
        QDir(dir.path()).mkpath(QStringLiteral("pictures"));
        QFile file(dir.filePath(QStringLiteral("pictures/photo.jpg")));
        file.open(QIODevice::WriteOnly);
        file.write(photo());
        file.close();
        MakerEnvironment env;
        env.programFolder = dir.path();
        env.lockFolder = dir.filePath(QStringLiteral("locks"));
        env.screenFonts = QStringList{QStringLiteral("IPAPGothic")};
        window = std::make_unique<MakerMainWindow>(dialogs, env);
        window->startUp({});
        window->findChild<QAction*>(QStringLiteral("qzd32mk_new_Page"))->trigger();
        // The new page asks for its contents title; the page commands wait for the answer.
        QWidget* entry = window->findChild<QWidget*>(QStringLiteral("qzd32mk_tork"));
        if (!entry)
            qFatal("the new page did not ask for its title");
        entry->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("写真"));
        entry->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        window->findChild<QAction*>(QStringLiteral("qzd32mk_Return_Page"))->trigger();
        QDir::setCurrent(dir.filePath(QStringLiteral("pictures")));
        window->findChild<QAction*>(QStringLiteral("qzd32mk_image_set"))->trigger();
        images = window->findChild<ImageWindow*>(QStringLiteral("qzd32mk_bmp"));
        // The photo is the selected file, as after the writer's click in the file list.
        auto* files = images->findChild<QListWidget*>(QStringLiteral("File1"));
        const auto found = files->findItems(QStringLiteral("photo.jpg"), Qt::MatchExactly);
        if (found.size() != 1)
            qFatal("the photo is not listed");
        files->setCurrentItem(found.first());
    }
    // Page 1 holds only its text again.
    void resetPage() {
        // setPlainText gives the whole text the caret's format, which after an embed is the
        // picture's: every character would become a copy of the photo.
        window->editor()->setCurrentCharFormat(QTextCharFormat());
        window->editor()->setPlainText(pageText());
        window->document().copyShownPageToTable();
        window->editor()->setSelStart(100);
    }
};

// The stored size of the page the editor shows (the page the photo goes into).
qsizetype shownPageBytes(Setup& setup) {
    const MakerDocument& doc = setup.window->document();
    return doc.page(doc.currentPage()).rtf.size();
}

void BM_EmbedPhoto(benchmark::State& state) {
    Setup setup;
    QPushButton* embed = setup.images->findChild<QPushButton*>(QStringLiteral("Command1"));
    for (auto _ : state) {
        state.PauseTiming();
        setup.resetPage();
        state.ResumeTiming();
        embed->click();
    }
    if (shownPageBytes(setup) < 1024 * 1024)
        state.SkipWithError("the photo was not embedded");
    state.counters["page_bytes"] = double(shownPageBytes(setup));
}
BENCHMARK(BM_EmbedPhoto)->Unit(benchmark::kMillisecond);

void BM_SwitchAwayAndBack(benchmark::State& state) {
    Setup setup;
    setup.resetPage();
    setup.images->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QAction* next = setup.window->findChild<QAction*>(QStringLiteral("qzd32mk_Next_Page"));
    QAction* previous = setup.window->findChild<QAction*>(QStringLiteral("qzd32mk_Return_Page"));
    // Away from the photo's page to its neighbour and back, whichever side the neighbour is.
    const MakerDocument& doc = setup.window->document();
    if (doc.currentPage() == doc.pageCount())
        std::swap(next, previous);
    if (shownPageBytes(setup) < 1024 * 1024)
        state.SkipWithError("the photo was not embedded");
    for (auto _ : state) {
        next->trigger();
        previous->trigger();
    }
}
BENCHMARK(BM_SwitchAwayAndBack)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks<QApplication>(argc, argv);
}
