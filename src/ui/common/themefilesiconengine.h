#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QSize>
#include <QString>

#include <optional>

namespace Vandra {

// An icon of a theme's files, one per size, read when it is first drawn or measured: adding a
// file to an icon reads its image at once, and the window asks for dozens of icons at start,
// most of them not shown until a menu opens.
class ThemeFilesIconEngine final : public QIconEngine {
public:
    struct File {
        QString path;
        QSize size; // invalid for a scalable file
    };

    explicit ThemeFilesIconEngine(QList<File> files);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    [[nodiscard]] bool isNull() override { return m_files.isEmpty(); }
    [[nodiscard]] QIconEngine *clone() const override;
    [[nodiscard]] QString key() const override;

private:
    const QIcon &icon();

    QList<File> m_files;
    std::optional<QIcon> m_icon;
};

} // namespace Vandra
