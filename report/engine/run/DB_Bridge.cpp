#include "report/engine/run/DB_Bridge.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace report {

bool TBridge::Active() const {
    return DataSet() && DataSet()->isActive();
}

void TBridge::Open() {
    if (Dataset* ds = DataSet()) ds->open();
}

void TBridge::Close() {
    if (Dataset* ds = DataSet()) ds->close();
}

bool TBridge::IsDatabaseDataSet() const {
    return DataSet() && DataSet()->isDatabaseDataset();
}

QString TBridge::AliasPath(const QString& alias, QString* error) {
    if (alias.isEmpty() || !QSqlDatabase::contains(alias)) return {};
    const QSqlDatabase db = QSqlDatabase::database(alias, false);
    if (error && db.lastError().isValid()) *error = db.lastError().text();
    const QString file = db.databaseName();
    if (file.isEmpty() || file == u":memory:" || file.startsWith(u"file:")) return {};
    return QFileInfo(file).absolutePath() + u'/';
}

void TBridge::ItemNames(QStringList& list) const {
    if (const Dataset* ds = DataSet())
        for (int i = 0; i < ds->fieldCount(); ++i)
            list.append(ds->fieldName(i));
}

void TBridge::ItemDescriptions(QStringList& list) const {
    if (const Dataset* ds = DataSet())
        for (int i = 0; i < ds->fieldCount(); ++i)
            list.append(ds->displayLabel(i));
}

int TBridge::Step(int dir) {
    Dataset* ds = DataSet();
    if (!ds) return srNoData;
    switch (dir) {
    case sdFirst:
        ds->first();
        break;
    case sdPrior:
        ds->prior();
        break;
    case sdNext:
        ds->next();
        break;
    case sdLast:
        ds->last();
        break;
    default:
        break;
    }
    return (ds->bof() ? srFirst : 0) + (ds->eof() ? srNoMore : 0);
}

void TBridge::SaveBookmark() {
    if (const Dataset* ds = DataSet()) m_bookmark = ds->bookmark();
}

void TBridge::RestoreBookmark() {
    if (!m_bookmark) return;
    if (Dataset* ds = DataSet()) ds->gotoBookmark(*m_bookmark);
    m_bookmark.reset();
}

void TBridge::DisableControls() {
    if (Dataset* ds = DataSet()) ds->disableControls();
}

void TBridge::EnableControls() {
    if (Dataset* ds = DataSet()) ds->enableControls();
}

int TBridge::FieldDataType(int i) const {
    return DataSet() ? DataSet()->fieldType(i) : ftUnknown;
}

int TBridge::FieldAlignment(int i) const {
    return DataSet() ? DataSet()->alignment(i) : taLeftJustify;
}

int TBridge::FieldDisplayWidth(int i) const {
    return DataSet() ? DataSet()->displayWidth(i) : 0;
}

QString TBridge::FieldText(int i) const {
    return DataSet() ? DataSet()->displayText(i) : QString();
}

double TBridge::FieldAsFloat(int i) const {
    return DataSet() ? DataSet()->asFloat(i) : 0.0;
}

bool TBridge::FieldAsBoolean(int i) const {
    return DataSet() && DataSet()->asBoolean(i);
}

bool TBridge::FieldIsNull(int i) const {
    return !DataSet() || DataSet()->isNull(i);
}

QByteArray TBridge::FieldBlob(int i) const {
    return DataSet() ? DataSet()->blob(i) : QByteArray();
}

QString TBridge::MemoText(int i) const {
    const Dataset* ds = DataSet();
    if (!ds || i < 0 || i >= ds->fieldCount()) return {};
    switch (ds->fieldType(i)) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo: {
        const QByteArray bytes = ds->blob(i);
        const qsizetype zero = bytes.indexOf('\0');
        return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
    }
    default:
        return ds->asString(i);
    }
}

} // namespace report
