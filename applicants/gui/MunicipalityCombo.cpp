#include "applicants/gui/MunicipalityCombo.h"

#include "applicants/ComuniListModel.h"

#include <QAbstractProxyModel>
#include <QCompleter>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTableView>

MunicipalityCombo::MunicipalityCombo(ComuniListModel *model, bool showCode, QWidget *parent)
    : QComboBox(parent), m_model(model)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    if (showCode) {
        auto *table = new QTableView(this);
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setShowGrid(false);
        table->setWordWrap(false);
        table->horizontalHeader()->setStretchLastSection(false);
        table->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 34);
        setView(table);
        setModel(model);
        table->setColumnWidth(0, fontMetrics().horizontalAdvance(QLatin1Char('M')) * 26);
        table->setColumnWidth(1, fontMetrics().horizontalAdvance(QLatin1Char('M')) * 5);
    } else {
        auto *list = new QListView(this);
        list->setUniformItemSizes(true);
        setView(list);
        setModel(model);
    }
    setModelColumn(0);

    auto *completer = new QCompleter(model, this);
    completer->setCompletionColumn(0);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchStartsWith);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setMaxVisibleItems(12);
    setCompleter(completer);
    connect(completer, QOverload<const QModelIndex &>::of(&QCompleter::activated), this, [this, completer](const QModelIndex &index) {
        if (auto *proxy = qobject_cast<QAbstractProxyModel *>(completer->completionModel()))
            choose(proxy->mapToSource(index).row());
    });
    connect(this, QOverload<int>::of(&QComboBox::activated), this, &MunicipalityCombo::choose);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &MunicipalityCombo::commitTyped);
    lineEdit()->installEventFilter(this);
    installEventFilter(this);
    lineEdit()->setPlaceholderText(QString());
    setCurrentIndex(-1);
}

qint64 MunicipalityCombo::currentId() const
{
    return m_model->idAt(m_row);
}

void MunicipalityCombo::setCurrentId(qint64 id)
{
    m_row = id > 0 ? m_model->rowOfId(id) : -1;
    showCurrent();
}

void MunicipalityCombo::showCurrent()
{
    const QSignalBlocker block(this);
    setCurrentIndex(m_row);
    // The same index again leaves the typed text in place: write the name back in any case.
    lineEdit()->setText(m_row >= 0 ? m_model->index(m_row, 0).data().toString() : QString());
}

void MunicipalityCombo::choose(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_row = row;
    showCurrent();
    emit chosen(m_model->idAt(row));
}

void MunicipalityCombo::commitTyped()
{
    const QString typed = lineEdit()->text().trimmed();
    const QString current = m_row >= 0 ? m_model->index(m_row, 0).data().toString() : QString();
    if (typed.compare(current, Qt::CaseInsensitive) == 0) {
        if (typed != current)
            showCurrent();
        return;
    }
    if (!typed.isEmpty()) {
        // The rows are in order of name: the first match is the exact name when there is one.
        int first = -1;
        for (int i = 0, n = m_model->rowCount(); i < n; ++i) {
            const QString label = m_model->index(i, 0).data().toString();
            if (label.compare(typed, Qt::CaseInsensitive) == 0) {
                first = i;
                break;
            }
            if (first < 0 && label.startsWith(typed, Qt::CaseInsensitive))
                first = i;
        }
        if (first >= 0) {
            choose(first);
            return;
        }
    }
    // Nothing matches (or the field was emptied without Del): the choice stays as it was.
    showCurrent();
}

void MunicipalityCombo::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // Leaving the field (Tab, Enter, a click elsewhere) takes what was typed; the list's own popup does not.
    if (event->reason() != Qt::PopupFocusReason)
        commitTyped();
}

bool MunicipalityCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        m_row = -1;
        showCurrent();
        emit cleared();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
