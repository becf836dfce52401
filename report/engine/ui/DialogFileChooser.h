#pragma once
// The save dialog behind SaveFileChooser: Qt's own (non-native) file dialog, modal over the
// active window, asking before it overwrites a file.

#include "report/engine/run/SaveFileChooser.h"

#include <QStringList>

class QWidget;

namespace report {

class DialogFileChooser : public SaveFileChooser {
public:
    // The dialog opens over `parent`, or over the active window when it is null.
    explicit DialogFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    QString chooseSaveFile(const SaveFileRequest& request) override;

    // Qt's name filters of a classic filter "Description (*.ext)|*.EXT|..." (each pattern also
    // in lower case, and that first, since Linux file names are case-sensitive).
    static QStringList nameFilters(const QString& classicFilter);

private:
    QWidget* m_parent;
};

} // namespace report
