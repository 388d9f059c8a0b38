#pragma once

#include <QComboBox>

class ComuniListModel;

// The drop-down of municipalities of the applicant dialogs: every row of COMUNI in order of name,
// the province beside each name. Typing finds a name (a list of the names that start with what is
// typed); leaving the field takes the first of them. Del clears the choice.
class MunicipalityCombo : public QComboBox
{
    Q_OBJECT
public:
    // showCode: the list shows the cadastral code beside each name.
    MunicipalityCombo(ComuniListModel *model, bool showCode, QWidget *parent = nullptr);

    qint64 currentId() const;
    // Shows the municipality with that key (0 or unknown: none), without signalling a choice.
    void setCurrentId(qint64 id);
    // Takes what is still typed in the field: the municipality whose name matches it, or starts with it.
    void commitTyped();

signals:
    void chosen(qint64 id); // a municipality was picked
    void cleared();          // Del

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void choose(int row);
    void showCurrent();

    ComuniListModel *m_model;
    int m_row = -1;
};
