#pragma once
// The save dialog behind SaveFileChooser: Qt's own (non-native) file dialog, modal over the
// active window, asking before it overwrites a file.

#include "report/engine/SaveFileChooser.h"

#include <QStringList>

namespace report {

class DialogFileChooser : public SaveFileChooser {
public:
    QString chooseSaveFile(const SaveFileRequest& request) override;

    // Qt's name filters of a classic filter "Description (*.ext)|*.EXT|..." (each pattern also
    // in lower case, and that first, since Linux file names are case-sensitive).
    static QStringList nameFilters(const QString& classicFilter);
};

} // namespace report
