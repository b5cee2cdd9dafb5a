#ifndef KETRION_TEST_MODALANSWERER_H
#define KETRION_TEST_MODALANSWERER_H

#include <QList>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers the modal boxes a test provokes, so no test ever waits on a dialog:
// polls the active modal widget, records what it showed and presses the next
// planned button. A box beyond the plan is rejected, as with Escape.
class ModalAnswerer : public QObject
{
public:
    struct Seen
    {
        QString title;
        QString text; // a message box's text, else the dialog's first shown label
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList items; // the rows of a dialog's first shown list
        QStringList labels; // every shown label of a dialog
        QList<QStringList> lists; // the rows of every shown list
    };

    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers, QObject *parent = nullptr);
    const QList<Seen> &seen() const { return boxes; }
    int count() const { return boxes.size(); }

private:
    void poll();

    QList<QMessageBox::StandardButton> answers;
    QList<Seen> boxes;
    QTimer timer;
};

#endif
