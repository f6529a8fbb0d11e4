// Fills every required item of the overview page for an applied-technology record or another
// one, as a user would before 储存; the summary text is the caller's.
#pragma once

#include "support/window_driver.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

// Checks an option by a click, whichever tab holds it; a checked option stays checked.
inline void tick(QDialog& d, const char* name) {
    auto* option = control<QAbstractButton>(&d, name);
    if (!option->isChecked()) option->click();
}

inline void fillOverview(QDialog& d, bool applied, const QString& summary) {
    const auto setText = [&d](const char* name, const char* text) {
        control<QLineEdit>(&d, name)->setText(QString::fromUtf8(text));
    };
    setText("edt_121_y", "2006");
    setText("edt_121_m", "3");
    setText("edt_121_d", "7");
    setText("edt_8_y_s", "2003");
    setText("edt_8_m_s", "5");
    setText("edt_8_y_e", "2005");
    setText("edt_8_m_e", "12");
    choose(control<QComboBox>(&d, "CB_1"), "1");
    choose(control<QComboBox>(&d, "cb_201"), "1");
    tick(d, "CB_125_03");
    if (applied) {
        choose(control<QComboBox>(&d, "Cb_125_1"), "1");
        choose(control<QComboBox>(&d, "cb_16"), "3");
        choose(control<QComboBox>(&d, "cb_33"), "2");
        tick(d, "RB_123_B");
    } else {
        choose(control<QComboBox>(&d, "cb_210"), "1");
        tick(d, "CB_200_03");
    }
    control<QPlainTextEdit>(&d, "Mo_13_1")->setPlainText(summary);
    control<QPlainTextEdit>(&d, "Mo_13")->setPlainText(QStringLiteral("公报"));
}
