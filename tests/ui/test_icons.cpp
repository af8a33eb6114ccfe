#include "common/testmain.h"
#include "model/joblist.h"
#include "support/locations.h"
#include "ui/common/icons.h"
#include "ui/common/programicons.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>

using namespace Vandra;

namespace {

// The share of the icon's visible pixels close to colour.
double shareNear(const QIcon &icon, const QColor &colour) {
    const QImage image =
        icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    int visible = 0;
    int near = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 128)
                continue;
            ++visible;
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <
                60)
                ++near;
        }
    }
    return visible == 0 ? 0.0 : double(near) / visible;
}

QImage imageOf(const QIcon &icon) {
    return icon.pixmap(QSize(24, 24)).toImage();
}

} // namespace

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Locations::initialize(QString());
        Icons::setUp();
    }

    void everyKindAndModeHasAnIcon() {
        for (const Kind kind : Kinds::allCases())
            QVERIFY2(!Icons::kind(kind).isNull(), qPrintable(Kinds::icon(kind)));
        for (int mode = 0; mode < 4; ++mode)
            QVERIFY2(!Icons::mode(mode).isNull(), qPrintable(QString::number(mode)));
        QVERIFY(!Icons::enabledImage().isNull());
        QVERIFY(!Icons::disabledImage().isNull());
    }

    void programsGetTheIconOfTheirFileType() {
        // Scripts by their name, whether or not the file is here; other programs the
        // executable icon.
        for (const char *program : {"/nowhere/backup.sh", "/nowhere/tool"}) {
            QVERIFY2(!Icons::lookUpIdentity(QString::fromLatin1(program), Icons::Style::fullColour)
                          .isNull(),
                     program);
        }
        Job job;
        QVERIFY(!Icons::run(job).isNull());
        ProgramIcons icons;
        QVERIFY(!icons.run(job).isNull());
        QVERIFY(Icons::themed(QStringLiteral("no-such-icon-anywhere"), Icons::Style::symbolic)
                    .isNull());
    }

    void aProgramNamedLikeAnImageIsOnlyReadWhenItIsAFile() {
        // A pipe would block the window until someone writes to it.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString pipe = folder.filePath(QStringLiteral("tool.png"));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        std::atomic<bool> wasOpened = false;
        std::atomic<bool> isReleasing = false;
        // Opening the writing end waits for a reader; it lets a reader through instead of
        // leaving the test hanging.
        std::thread writer([&] {
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY);
            if (fd >= 0) {
                wasOpened = !isReleasing;
                ::close(fd);
            }
        });
        const QIcon icon = Icons::lookUpIdentity(pipe, Icons::Style::fullColour);
        (void)icon.pixmap(QSize(32, 32));
        // Releases the writer when nobody read the pipe.
        isReleasing = true;
        const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
        writer.join();
        if (reader >= 0)
            ::close(reader);
        QVERIFY(!wasOpened);
        QVERIFY(!icon.isNull());

        // A real image is shown as it is.
        const QString image = folder.filePath(QStringLiteral("picture.png"));
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(image));
        QCOMPARE(Icons::lookUpIdentity(image, Icons::Style::fullColour)
                     .pixmap(QSize(8, 8))
                     .toImage()
                     .pixelColor(4, 4),
                 QColor(Qt::red));
    }

    void programsAreLookedUpOnceWithTheSameAnswers() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString picture = folder.filePath(QStringLiteral("tool.png"));
        const QStringList identities = {
            QStringLiteral("/nowhere/backup.sh"),
            QStringLiteral("/nowhere/report.py"),
            QStringLiteral("/nowhere/tool"),
            QStringLiteral("utilities-terminal"),
            picture,
        };
        ProgramIcons icons;
        for (const QString &identity : identities) {
            for (const Icons::Style style : {Icons::Style::fullColour, Icons::Style::symbolic}) {
                const QIcon cached = icons.icon(identity, style);
                QCOMPARE(imageOf(cached), imageOf(Icons::lookUpIdentity(identity, style)));
                // Asked again: the icon kept the first time.
                QCOMPARE(icons.icon(identity, style).cacheKey(), cached.cacheKey());
            }
        }
        for (const Kind kind : Kinds::allCases())
            QCOMPARE(imageOf(icons.kind(kind)), imageOf(Icons::kind(kind)));

        // The image appears: still the icon of its type until the job list is read again.
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(picture));
        const auto colourOf = [&icons, &picture] {
            return icons.icon(picture, Icons::Style::fullColour)
                .pixmap(QSize(8, 8))
                .toImage()
                .pixelColor(4, 4);
        };
        QVERIFY(colourOf() != QColor(Qt::red));
        JobList::shared().setJobs({});
        QCOMPARE(colourOf(), QColor(Qt::red));
    }

    void monochromeIconsFollowThePalette() {
        const QPalette original = QApplication::palette();
        const QIcon icon = Icons::kind(Kind::userAgent);
        QPalette dark = original;
        dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
        QApplication::setPalette(dark);
        QVERIFY(shareNear(icon, QColor(240, 240, 240)) > 0.9);
        QPalette light = original;
        light.setColor(QPalette::WindowText, QColor(20, 20, 20));
        QApplication::setPalette(light);
        QVERIFY(shareNear(icon, QColor(20, 20, 20)) > 0.9);
        QApplication::setPalette(original);
    }
};

VANDRA_TEST_MAIN(TestIcons)
#include "test_icons.moc"
