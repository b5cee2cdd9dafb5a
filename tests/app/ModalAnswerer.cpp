#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
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
    seen.className = QString::fromLatin1(dialog->metaObject()->className());
    seen.title = dialog->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
        seen.text = box->text();
        seen.icon = box->icon();
        if (box->defaultButton())
            seen.defaultButton = box->standardButton(box->defaultButton());
    } else {
        if (auto *label = dialog->findChild<QLabel *>())
            seen.text = label->text();
        if (auto *list = dialog->findChild<QListWidget *>()) {
            for (int row = 0; row < list->count(); ++row)
                seen.items << list->item(row)->text();
        }
    }
    boxes << seen;

    if (answers.isEmpty()) {
        ++extra;
        dialog->reject();
        return;
    }
    const QMessageBox::StandardButton answer = answers.takeFirst();
    QAbstractButton *button = nullptr;
    if (auto *box = qobject_cast<QMessageBox *>(dialog))
        button = box->button(answer);
    else if (auto *buttons = dialog->findChild<QDialogButtonBox *>())
        button = buttons->button(QDialogButtonBox::StandardButton(int(answer)));
    if (button) {
        button->click();
    } else {
        ++extra;
        dialog->reject();
    }
}
