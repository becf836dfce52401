#include "report/engine/ui/DialogFileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

namespace report {

QStringList DialogFileChooser::nameFilters(const QString& classicFilter) {
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = classicFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        QStringList patterns;
        // Lower case first: the save dialog gives a typed name the first pattern's suffix.
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString given = pattern.trimmed();
            if (given.toLower() != given) patterns.append(given.toLower());
            patterns.append(given);
        }
        filters.append(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return filters;
}

QString DialogFileChooser::chooseSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(m_parent ? m_parent : QApplication::activeWindow(), request.title,
                       QDir(request.folder).filePath(request.fileName));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(request.filter));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix.mid(request.defaultSuffix.startsWith('.')));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace report
