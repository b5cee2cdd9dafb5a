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
        for (const QLabel *label : dialog->findChildren<QLabel *>()) {
            if (label->isVisibleTo(dialog))
                seen.labels << label->text();
        }
        for (const QListWidget *list : dialog->findChildren<QListWidget *>()) {
            if (!list->isVisibleTo(dialog))
                continue;
            QStringList rows;
            for (int row = 0; row < list->count(); ++row)
                rows << list->item(row)->text();
            seen.lists << rows;
        }
        seen.text = seen.labels.value(0);
        seen.items = seen.lists.value(0);
        if (auto *buttons = dialog->findChild<QDialogButtonBox *>())
            button = buttons->button(QDialogButtonBox::StandardButton(int(answer)));
    }
    boxes << seen;
    if (button)
        button->click();
    else
        dialog->reject();
}
