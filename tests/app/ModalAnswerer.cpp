#include "ModalAnswerer.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

ModalAnswerer::ModalAnswerer(QList<QMessageBox::StandardButton> answers, QObject *parent)
    : QObject(parent), answers(std::move(answers))
{
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer.start(10);
}

void ModalAnswerer::poll()
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible())
        return;

    Seen seen;
    seen.title = dialog->windowTitle();
    QAbstractButton *button = nullptr;
    const QMessageBox::StandardButton answer
        = answers.isEmpty() ? QMessageBox::NoButton : answers.takeFirst();
    if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
        seen.text = box->text();
        seen.icon = box->icon();
        if (box->defaultButton())
            seen.defaultButton = box->standardButton(box->defaultButton());
        button = box->button(answer);
    } else {
        if (auto *label = dialog->findChild<QLabel *>())
            seen.text = label->text();
        if (auto *list = dialog->findChild<QListWidget *>()) {
            for (int row = 0; row < list->count(); ++row)
                seen.items << list->item(row)->text();
        }
        if (auto *buttons = dialog->findChild<QDialogButtonBox *>())
            button = buttons->button(QDialogButtonBox::StandardButton(int(answer)));
    }
    boxes << seen;
    if (button)
        button->click();
    else
        dialog->reject();
}
