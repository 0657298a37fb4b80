// Driving modal widgets from inside their own modal loops, as a user would.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>

// Runs act on the modal widget once it is up, from inside its modal loop.
inline void whenModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 0)
            whenModal(act, triesLeft - 1);
    });
}

// Chooses name in the file dialog and presses its Save or Open button, as
// the user does, then runs then. The button is enabled only once the dialog
// has taken in the name, so a press that finds it disabled (or finds another
// box still up) waits for the next turn.
inline void chooseInFileDialog(const std::string& name, std::function<void()> then = {},
                               int triesLeft = 200) {
    whenModal([name, then, triesLeft](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // Typed into the name field, as the user does.
            if (auto* field = dialog->findChild<QLineEdit*>("fileNameEdit"))
                field->setText(QString::fromStdString(name));
            for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>())
                for (QAbstractButton* button : box->buttons())
                    if (box->buttonRole(button) == QDialogButtonBox::AcceptRole &&
                        button->isEnabled()) {
                        button->click();
                        if (then)
                            then();
                        return;
                    }
        }
        if (triesLeft > 0) {
            chooseInFileDialog(name, then, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no file dialog to choose in";
            modal->close();
        }
    });
}
