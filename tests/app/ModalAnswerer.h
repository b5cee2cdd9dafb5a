#ifndef KETRION_TEST_MODALANSWERER_H
#define KETRION_TEST_MODALANSWERER_H

#include <QDialogButtonBox>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal boxes a test provokes, so no test ever waits on a dialog.
// Polls the active modal widget, records what it showed and presses the next
// planned button; boxes beyond the plan are rejected (Escape) and counted.
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Seen
    {
        QString className;
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList items; // list widget rows of a non-message dialog
    };

    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers, QObject *parent = nullptr);

    const QList<Seen> &seen() const { return boxes; }
    int count() const { return boxes.size(); }
    // Boxes answered by rejection because the plan had no answer left.
    int unplanned() const { return extra; }

private slots:
    void poll();

private:
    QList<QMessageBox::StandardButton> answers;
    QList<Seen> boxes;
    int extra = 0;
    QTimer timer;
};

#endif
