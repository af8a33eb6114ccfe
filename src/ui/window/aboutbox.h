#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;

namespace Vandra {

// About Vandra: the version, the licence and the libraries the program runs with.
class AboutBox final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutBox)

public:
    explicit AboutBox(QWidget *parent = nullptr);

    // A line naming how jobs are loaded on this machine; none is shown while it is empty.
    void setBackendLine(const QString &line);
    // The text shown, without markup.
    [[nodiscard]] QString text() const;

    // One line per library: "Qt 6.4.2", "QScintilla 2.13.3", "ICU 72.1".
    [[nodiscard]] static QStringList libraryLines();

private:
    QLabel *m_text;
    QLabel *m_backend;
};

} // namespace Vandra
