#include "report/engine/run/SqlDataset.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "platform/NumberText.h"

namespace report {

namespace {

// 30 December 1899, day 0 of the date-time double.
const QDate dateTimeEpoch(1899, 12, 30);

// A stored date, time or date-time as ISO 8601 text ("2024-03-15", "12:30:05",
// "2024-03-15 12:30:05" or with a "T"); an invalid QDateTime when it is none of them.
QDateTime parseIsoDateTime(const QString& text, int type) {
    const QString t = text.trimmed();
    if (type == ftTime) {
        const QTime time = QTime::fromString(t, Qt::ISODate);
        return time.isValid() ? QDateTime(dateTimeEpoch, time) : QDateTime();
    }
    QString iso = t;
    if (iso.size() > 10 && iso[10] == u' ') iso[10] = u'T';
    QDateTime dt = QDateTime::fromString(iso, Qt::ISODate);
    if (!dt.isValid()) {
        const QDate date = QDate::fromString(t.left(10), Qt::ISODate);
        if (date.isValid() && t.size() == 10) dt = QDateTime(date, QTime(0, 0));
    }
    return dt;
}

QString quotedIdentifier(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool isStatement(const QString& source) {
    static const QRegularExpression statement(QStringLiteral("^\\s*(SELECT|WITH)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    return statement.match(source).hasMatch();
}

int typeOfQtField(int metaType) {
    switch (metaType) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return ftInteger;
    case QMetaType::Double:
        return ftFloat;
    case QMetaType::Bool:
        return ftBoolean;
    case QMetaType::QByteArray:
        return ftBlob;
    default:
        return ftString;
    }
}

int defaultDisplayWidth(int type) {
    switch (type) {
    case ftBoolean:
        return 5;
    case ftDateTime:
        return 18;
    case ftString:
        return 20;
    default:
        return 10;
    }
}

bool isBlobType(int type) {
    return type == ftBlob || type == ftMemo || type == ftGraphic || type == ftFmtMemo;
}

} // namespace

SqlDataset::SqlDataset(QString connectionName, QString source, QString orderBy)
    : m_connection(std::move(connectionName)), m_source(std::move(source)),
      m_orderBy(std::move(orderBy)) {}

int SqlDataset::typeOfDeclared(const QString& declaredType) {
    const QString t = declaredType.trimmed().toUpper();
    if (t.startsWith(u"BOOL")) return ftBoolean;
    if (t.startsWith(u"DATETIME") || t.startsWith(u"TIMESTAMP")) return ftDateTime;
    if (t.startsWith(u"DATE")) return ftDate;
    if (t.startsWith(u"TIME")) return ftTime;
    if (t.contains(u"INT")) return ftInteger;
    if (t.startsWith(u"REAL") || t.startsWith(u"FLOAT") || t.startsWith(u"DOUBLE")) return ftFloat;
    if (t.startsWith(u"NUMERIC") || t.startsWith(u"DECIMAL") || t.startsWith(u"MONEY"))
        return ftCurrency;
    if (t.startsWith(u"MEMO") || t.startsWith(u"CLOB")) return ftMemo;
    if (t.startsWith(u"GRAPHIC") || t.startsWith(u"IMAGE")) return ftGraphic;
    if (t.startsWith(u"BLOB")) return ftBlob;
    return ftString;
}

bool SqlDataset::readColumns(const QStringList& names, const QVector<int>& qtTypes) {
    m_columns.clear();
    QHash<QString, QString> declared;
    if (!isStatement(m_source)) {
        QSqlQuery info(QSqlDatabase::database(m_connection, false));
        if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quotedIdentifier(m_source))))
            return false;
        while (info.next())
            declared.insert(info.value(1).toString(), info.value(2).toString());
    }
    static const QRegularExpression length(QStringLiteral("\\(\\s*(\\d{1,6})\\s*[,)]"));
    for (int i = 0; i < names.size(); ++i) {
        Column column;
        column.name = names[i];
        const auto found = declared.constFind(column.name);
        column.type =
            found != declared.cend() ? typeOfDeclared(*found) : typeOfQtField(qtTypes[i]);
        column.width = defaultDisplayWidth(column.type);
        if (found != declared.cend() && column.type == ftString) {
            const auto match = length.match(*found);
            if (match.hasMatch()) column.width = match.captured(1).toInt();
        }
        m_columns.append(column);
    }
    return true;
}

bool SqlDataset::open() {
    if (m_active) return true;
    m_error.clear();
    QSqlDatabase db = QSqlDatabase::database(m_connection, true);
    if (!db.isValid() || !db.isOpen()) {
        m_error = db.isValid() ? db.lastError().text() : QStringLiteral("no connection");
        return false;
    }
    QString statement = m_source;
    if (!isStatement(m_source)) {
        statement = QStringLiteral("SELECT * FROM ") + quotedIdentifier(m_source);
        if (!m_orderBy.trimmed().isEmpty()) statement += QStringLiteral(" ORDER BY ") + m_orderBy;
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(statement)) {
        m_error = query.lastError().text();
        return false;
    }
    const QSqlRecord record = query.record();
    QStringList names;
    QVector<int> qtTypes;
    for (int i = 0; i < record.count(); ++i) {
        names.append(record.fieldName(i));
        qtTypes.append(record.field(i).metaType().id());
    }
    m_cells.clear();
    while (query.next()) {
        for (int i = 0; i < names.size(); ++i)
            m_cells.append(query.value(i));
    }
    if (query.lastError().isValid() || !readColumns(names, qtTypes)) {
        m_error = query.lastError().text();
        m_cells.clear();
        m_columns.clear();
        return false;
    }
    m_active = true;
    first();
    return true;
}

void SqlDataset::close() {
    m_active = false;
    m_cells.clear();
    m_columns.clear();
    m_row = -1;
    m_bof = m_eof = true;
}

int SqlDataset::rowCount() const {
    return m_columns.isEmpty() ? 0 : int(m_cells.size() / m_columns.size());
}

void SqlDataset::first() {
    const bool empty = rowCount() == 0;
    m_row = empty ? -1 : 0;
    m_bof = true;
    m_eof = empty;
}

void SqlDataset::last() {
    const bool empty = rowCount() == 0;
    m_row = rowCount() - 1;
    m_bof = empty;
    m_eof = true;
}

void SqlDataset::next() {
    if (m_row < 0) return;
    if (m_row + 1 < rowCount()) {
        ++m_row;
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void SqlDataset::prior() {
    if (m_row < 0) return;
    if (m_row > 0) {
        --m_row;
        m_bof = false;
        m_eof = false;
    } else {
        m_bof = true;
    }
}

void SqlDataset::gotoBookmark(int bookmark) {
    if (bookmark < 0 || bookmark >= rowCount()) return;
    m_row = bookmark;
    m_bof = m_eof = false;
}

const QVariant* SqlDataset::cell(int i) const {
    if (i < 0 || i >= m_columns.size() || m_row < 0) return nullptr;
    return &m_cells[qsizetype(m_row) * m_columns.size() + i];
}

QString SqlDataset::fieldName(int i) const {
    return i >= 0 && i < m_columns.size() ? m_columns[i].name : QString();
}

int SqlDataset::fieldType(int i) const {
    return i >= 0 && i < m_columns.size() ? m_columns[i].type : ftUnknown;
}

int SqlDataset::alignment(int i) const {
    switch (fieldType(i)) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return taRightJustify;
    default:
        return taLeftJustify;
    }
}

int SqlDataset::displayWidth(int i) const {
    return i >= 0 && i < m_columns.size() ? m_columns[i].width : 0;
}

bool SqlDataset::isNull(int i) const {
    const QVariant* v = cell(i);
    return !v || v->isNull();
}

double SqlDataset::asFloat(int i) const {
    const QVariant* v = cell(i);
    if (!v || v->isNull()) return 0.0;
    const int type = fieldType(i);
    if (type == ftDate || type == ftTime || type == ftDateTime) {
        if (v->typeId() != QMetaType::QString) return v->toDouble();
        const QDateTime dt = parseIsoDateTime(v->toString(), type);
        return dt.isValid() ? platform::DateTimeToDouble(dt) : 0.0;
    }
    if (type == ftBoolean) return asBoolean(i) ? 1.0 : 0.0;
    if (v->typeId() == QMetaType::QString)
        return platform::ParseNumber(v->toString()).value_or(0.0);
    if (v->typeId() == QMetaType::QByteArray) return 0.0;
    return v->toDouble();
}

bool SqlDataset::asBoolean(int i) const {
    const QVariant* v = cell(i);
    if (!v || v->isNull()) return false;
    if (v->typeId() == QMetaType::QString) {
        const QString t = v->toString().trimmed().toLower();
        if (t == u"true" || t == u"t" || t == u"yes") return true;
        return platform::ParseNumber(t).value_or(0.0) != 0.0;
    }
    return v->toDouble() != 0.0;
}

QString SqlDataset::asString(int i) const {
    const QVariant* v = cell(i);
    if (!v || v->isNull()) return {};
    if (v->typeId() == QMetaType::QByteArray) return QString::fromUtf8(v->toByteArray());
    return v->toString();
}

QByteArray SqlDataset::blob(int i) const {
    const QVariant* v = cell(i);
    if (!v || v->isNull()) return {};
    if (v->typeId() == QMetaType::QByteArray) return v->toByteArray();
    return v->toString().toUtf8();
}

QString SqlDataset::displayText(int i) const {
    const QVariant* v = cell(i);
    const int type = fieldType(i);
    if (isBlobType(type)) {
        // As the classic blob fields show themselves: the kind, in capitals when there is data.
        static const char* const names[] = {"Blob", "Memo", "Graphic", "FmtMemo"};
        const QString name = QString::fromLatin1(names[type - ftBlob]);
        const bool hasData = v && !v->isNull() && !blob(i).isEmpty();
        return u'(' + (hasData ? name.toUpper() : name) + u')';
    }
    if (!v || v->isNull()) return {};
    switch (type) {
    case ftBoolean:
        return asBoolean(i) ? QStringLiteral("True") : QStringLiteral("False");
    case ftDate:
    case ftTime:
    case ftDateTime: {
        if (v->typeId() != QMetaType::QString) return v->toString();
        const QDateTime dt = parseIsoDateTime(v->toString(), type);
        if (!dt.isValid()) return v->toString();
        const double value = platform::DateTimeToDouble(dt);
        if (type == ftDate) return platform::DateToStr(value);
        if (type == ftTime) return platform::TimeToStr(value);
        return platform::DateToStr(value) + u' ' + platform::TimeToStr(value);
    }
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD: {
        if (v->typeId() == QMetaType::QString) return v->toString();
        if (v->typeId() == QMetaType::LongLong || v->typeId() == QMetaType::Int)
            return QString::number(v->toLongLong());
        return platform::FloatToStr(v->toDouble());
    }
    default:
        return v->toString();
    }
}

} // namespace report
