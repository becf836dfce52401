#pragma once
// "Návrh nové předlohy": the wizard that proposes a first template from the items the user
// picks, in column style (items side by side) or row style (one item per row).

#include "report/engine/template/sestavyt_model.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;

namespace platform {
class MessageSink;
}
namespace report {
class TSestavaTyp;
}

namespace designer {

class TDlgNovaSestava : public QDialog {
    Q_OBJECT

public:
    // The modal result of "&Ručně": the user designs by hand.
    static constexpr int kByHand = 7;

    explicit TDlgNovaSestava(QWidget* parent = nullptr);

    void setMessageSink(platform::MessageSink* sink) { m_messages = sink; }
    // What "&Formát papíru" opens (the report settings on the paper); the button is disabled
    // without it.
    void setPaperFormatAction(std::function<void()> action);
    // The available items (SrcList); the chosen list is emptied.
    void setItems(const QStringList& names);
    QStringList chosenItems() const;
    void setChosenItems(const QStringList& names);
    void setColumnStyle(bool column);
    void setCaptions(bool on);
    void setCaptionsAsText(bool on);
    void setByName(bool on);

    // Appends the template lines for the chosen items to `lines`, for `report` on a printable
    // area of `height` x `width` (1/100 inch). Items the report does not know are skipped.
    void Generate(report::TPredloha& lines, report::TSestavaTyp& report, int height,
                  int width) const;

    // OK with nothing chosen is refused with a message; the dialog stays open.
    void accept() override;

private:
    void move(QListWidget* from, QListWidget* to, bool all);
    void enableArrows();

    platform::MessageSink* m_messages = nullptr;
    QListWidget* m_source;
    QListWidget* m_chosen;
    QToolButton* m_include;
    QToolButton* m_includeAll;
    QToolButton* m_exclude;
    QToolButton* m_excludeAll;
    QToolButton* m_column;
    QToolButton* m_row;
    QCheckBox* m_captions;
    QCheckBox* m_captionsAsText;
    QCheckBox* m_byName;
    QPushButton* m_paperFormat;
    std::function<void()> m_paperFormatAction;
};

} // namespace designer
