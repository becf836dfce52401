#pragma once
// TBridge: what the data-aware report asks of its data source's dataset, in the report's terms
// (step results, field type codes, item names). A thin layer: the dataset does the work.

#include "report/engine/run/Dataset.h"

#include <QStringList>

#include <optional>

namespace report {

// Directions of a record step (TStepDir) and its results (TStepResult).
enum TStepDir : int { sdFirst = 0, sdPrior = 1, sdNext = 2, sdLast = 3 };
enum TStepResult : int { srMoved = 0, srFirst = 1, srNoMore = 2, srNoData = 3 };

class TBridge {
public:
    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* source) { m_dataSource = source; }

    // The data source's dataset; null without a data source or without a dataset.
    Dataset* DataSet() const { return m_dataSource ? m_dataSource->DataSet() : nullptr; }
    bool HasDataSet() const { return DataSet() != nullptr; }
    bool Active() const;
    void Open();
    void Close();
    bool IsDatabaseDataSet() const;

    // The folder of the database file of the Qt Sql connection named `alias`, with a trailing
    // "/"; empty for an unknown alias or an in-memory database. When the connection reports an
    // error, `error` gets its text.
    static QString AliasPath(const QString& alias, QString* error = nullptr);

    // Append the field names / display labels, in field order.
    void ItemNames(QStringList& list) const;
    void ItemDescriptions(QStringList& list) const;

    // Moves the cursor; srFirst when at BOF, plus srNoMore when at EOF (srNoData for an empty
    // dataset). Without a dataset srNoData.
    int Step(int dir);

    void SaveBookmark();
    // Returns to the saved bookmark and forgets it; nothing without one.
    void RestoreBookmark();
    void DisableControls();
    void EnableControls();

    int FieldDataType(int i) const;
    int FieldAlignment(int i) const;
    int FieldDisplayWidth(int i) const;
    QString FieldText(int i) const;
    double FieldAsFloat(int i) const;
    bool FieldAsBoolean(int i) const;
    bool FieldIsNull(int i) const;
    QByteArray FieldBlob(int i) const;
    // A blob field's bytes as text up to the first zero byte; any other field's text.
    QString MemoText(int i) const;

private:
    TDataSource* m_dataSource = nullptr;
    std::optional<int> m_bookmark;
};

} // namespace report
