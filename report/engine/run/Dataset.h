#pragma once
// The small dataset interface a report reads its records through (the report's data source),
// and TDataSource, the link from a report to one dataset. SqlDataset implements it on Qt Sql.

#include <QByteArray>
#include <QString>

namespace report {

// Field type codes of the report (TFieldTypeS): the numbering the templates and the report's
// data-type events use.
enum FieldTypeCode : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
};

// Text alignment codes (TAlignment).
enum AlignmentCode : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// A cursor over records with the classic BOF/EOF semantics:
// - after first() (and after opening) BOF is true; an empty dataset is BOF and EOF at once;
// - next() on the last record sets EOF and stays there; prior() on the first sets BOF;
// - last() sets EOF.
// Fields are addressed by their index in the field list; an index out of range gives the
// neutral value of each getter (empty text, 0, null).
class Dataset {
public:
    virtual ~Dataset() = default;

    virtual bool isActive() const = 0;
    // Opens the dataset and moves to its first record; false (and not active) on failure.
    virtual bool open() = 0;
    virtual void close() = 0;

    virtual void first() = 0;
    virtual void prior() = 0;
    virtual void next() = 0;
    virtual void last() = 0;
    virtual bool bof() const = 0;
    virtual bool eof() const = 0;

    virtual int fieldCount() const = 0;
    virtual QString fieldName(int i) const = 0;
    virtual QString displayLabel(int i) const = 0;
    virtual int fieldType(int i) const = 0;    // a FieldTypeCode
    virtual int alignment(int i) const = 0;    // an AlignmentCode
    virtual int displayWidth(int i) const = 0; // in characters
    virtual QString displayText(int i) const = 0;
    virtual QString asString(int i) const = 0;
    virtual double asFloat(int i) const = 0; // dates as days since 30 December 1899
    virtual bool asBoolean(int i) const = 0;
    virtual bool isNull(int i) const = 0;
    virtual QByteArray blob(int i) const = 0;

    // The current record's position, and a return to it; -1 when there is no record.
    virtual int bookmark() const = 0;
    virtual void gotoBookmark(int bookmark) = 0;

    // Whether the records come from a database connection (so that a report may name its
    // template folder by the connection's alias).
    virtual bool isDatabaseDataset() const { return false; }

    // Kept as a nesting counter: no controls show these records.
    void disableControls() { ++m_disabledControls; }
    void enableControls();
    bool controlsDisabled() const { return m_disabledControls > 0; }

private:
    int m_disabledControls = 0;
};

// The report's data source: a link to one dataset (none by default), not owned.
class TDataSource {
public:
    explicit TDataSource(Dataset* dataset = nullptr) : m_dataset(dataset) {}
    Dataset* DataSet() const { return m_dataset; }
    void SetDataSet(Dataset* dataset) { m_dataset = dataset; }

private:
    Dataset* m_dataset;
};

} // namespace report
