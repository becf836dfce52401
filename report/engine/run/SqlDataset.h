#pragma once
// A dataset over a table or a SELECT statement of a named Qt Sql connection (SQLite).
//
// The records are read into memory when the dataset opens, so the cursor (with its BOF and EOF
// flags, which Qt does not keep for SQLite) and the bookmarks are ours, and a table dropped
// while the report runs cannot disturb it. Field types come from the declared column types,
// since Qt's SQLite driver only knows integers, doubles, texts and byte arrays.

#include "report/engine/run/Dataset.h"

#include <QStringList>
#include <QVariant>
#include <QVector>

namespace report {

class SqlDataset : public Dataset {
public:
    // `source` is a table name, or a statement beginning with SELECT or WITH; `orderBy` (for a
    // table only) is the text of its ORDER BY clause. Nothing is read until open().
    SqlDataset(QString connectionName, QString source, QString orderBy = {});

    QString connectionName() const { return m_connection; }
    // The text of the last failure to open, for the log; empty after a successful open().
    QString lastError() const { return m_error; }

    bool isActive() const override { return m_active; }
    bool open() override;
    void close() override;

    void first() override;
    void prior() override;
    void next() override;
    void last() override;
    bool bof() const override { return m_bof; }
    bool eof() const override { return m_eof; }

    int fieldCount() const override { return int(m_columns.size()); }
    QString fieldName(int i) const override;
    QString displayLabel(int i) const override { return fieldName(i); }
    int fieldType(int i) const override;
    int alignment(int i) const override;
    int displayWidth(int i) const override;
    QString displayText(int i) const override;
    QString asString(int i) const override;
    double asFloat(int i) const override;
    bool asBoolean(int i) const override;
    bool isNull(int i) const override;
    QByteArray blob(int i) const override;

    int bookmark() const override { return m_row; }
    void gotoBookmark(int bookmark) override;

    bool isDatabaseDataset() const override { return true; }

    // The field type code of an SQL declared type ("VARCHAR(20)", "DATE", "GRAPHIC", ...).
    static int typeOfDeclared(const QString& declaredType);

private:
    struct Column {
        QString name;
        int type = ftString;
        int width = 0;
    };

    bool readColumns(const QStringList& names, const QVector<int>& qtTypes);
    const QVariant* cell(int i) const;
    int rowCount() const;

    QString m_connection;
    QString m_source;
    QString m_orderBy;
    QString m_error;
    QVector<Column> m_columns;
    QVector<QVariant> m_cells; // row after row
    int m_row = -1;
    bool m_active = false;
    bool m_bof = true;
    bool m_eof = true;
};

} // namespace report
