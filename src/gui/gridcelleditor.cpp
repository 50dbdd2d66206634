#include "gridcelleditor.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>

GridCellEditor::GridCellEditor(QObject* parent) : QObject(parent) {}

void GridCellEditor::setGrid(QTableWidget* grid)
{
    m_grid = grid;
    QWidget* window = grid->window();
    QString name = QStringLiteral("cellEditor");
    while (window->findChild<QObject*>(name))
        name += QLatin1Char('1');
    m_box = new QLineEdit(window);
    m_box->setObjectName(name);
    m_box->setFont(grid->font());
    m_box->setFocusPolicy(Qt::ClickFocus); // out of the tab order
    // No frame of its own: the box lies flush over the cell, inside the grid's lines.
    m_box->setFrame(false);
    m_box->hide();
    m_box->raise();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    m_box->installEventFilter(this);
    connect(grid, &QTableWidget::currentCellChanged, this, [this] {
        if (!m_moving)
            commit(); // the grid's cell change stores a pending edit, unless the editor moved it
    });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        m_grid->setCurrentCell(row, column);
        openEditor(m_grid->item(row, column) ? m_grid->item(row, column)->text() : QString());
    });
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &GridCellEditor::followCell);
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &GridCellEditor::followCell);
}

void GridCellEditor::setTabKeyBehaviour(KeyBehaviour behaviour)
{
    QWidget* window = m_grid ? m_grid->window() : nullptr;
    if (window && m_tab == KeyBehaviour::CloseEditor && behaviour != KeyBehaviour::CloseEditor) {
        // While Tab moves the editor through the grid, the window's other widgets leave the tab
        // order.
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w != m_grid && w != m_box && (w->focusPolicy() & Qt::TabFocus)) {
                m_savedTabStops.insert(w, w->focusPolicy());
                w->setFocusPolicy(Qt::ClickFocus);
            }
        }
    } else if (behaviour == KeyBehaviour::CloseEditor) {
        for (auto it = m_savedTabStops.begin(); it != m_savedTabStops.end(); ++it)
            it.key()->setFocusPolicy(it.value());
        m_savedTabStops.clear();
    }
    m_tab = behaviour;
}

bool GridCellEditor::isEditing() const
{
    return m_box && m_box->isVisible();
}

void GridCellEditor::openEditor(const QString& text)
{
    if (!m_grid || m_grid->currentRow() < 0 || m_grid->currentColumn() < 0)
        return;
    m_row = m_grid->currentRow();
    m_column = m_grid->currentColumn();
    m_box->setText(text);
    m_box->setCursorPosition(static_cast<int>(text.size()));
    followCell();
    m_box->show();
    m_box->raise();
    m_box->setFocus();
}

void GridCellEditor::commit()
{
    if (!isEditing())
        return;
    QTableWidgetItem* item = m_grid->item(m_row, m_column);
    if (!item) {
        item = new QTableWidgetItem;
        m_grid->setItem(m_row, m_column, item);
    }
    const QString previous = item->text();
    item->setText(m_box->text());
    m_box->hide();
    emit cellStored(m_row, m_column, previous);
}

void GridCellEditor::act(KeyBehaviour behaviour)
{
    if (behaviour == KeyBehaviour::CloseEditor) {
        commit();
        m_grid->setFocus();
        return;
    }
    commit();
    int row = m_row;
    int column = m_column;
    const int rows = m_grid->rowCount();
    const int columns = m_grid->columnCount();
    if (behaviour == KeyBehaviour::MoveRight) {
        if (++column >= columns) {
            column = 0;
            row = qMin(row + 1, rows - 1);
        }
    } else if (behaviour == KeyBehaviour::MoveDown) {
        if (++row >= rows) {
            row = 0;
            column = qMin(column + 1, columns - 1);
        }
    } else if (behaviour == KeyBehaviour::MoveUp) {
        row = qMax(row - 1, 0);
    }
    m_moving = true; // a programmatic move: the cell-change notification must not store again
    m_grid->setCurrentCell(row, column);
    m_moving = false;
    m_grid->setFocus();
}

bool GridCellEditor::cellVisible() const
{
    const QRect cell = m_grid->visualRect(m_grid->model()->index(m_row, m_column));
    return m_grid->viewport()->rect().contains(cell.center());
}

void GridCellEditor::followCell()
{
    if (!m_box || m_row < 0)
        return;
    if (!cellVisible()) {
        m_box->move(-10000, -10000); // out of sight until the cell scrolls back
        return;
    }
    const QRect cell = m_grid->visualRect(m_grid->model()->index(m_row, m_column));
    const QPoint topLeft = m_grid->viewport()->mapTo(m_grid->window(), cell.topLeft());
    m_box->setGeometry(QRect(topLeft, cell.size()));
}

bool GridCellEditor::eventFilter(QObject* watched, QEvent* event)
{
    // Only key presses and mouse presses matter. Other events also arrive while the grid is
    // being destroyed, when it must not be touched, so they are let through first.
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress)
        return false;
    if (!m_grid)
        return false;
    if (watched == m_box && type == QEvent::KeyPress)
        return editBoxKey(static_cast<QKeyEvent*>(event));
    if (watched == m_grid && type == QEvent::KeyPress)
        return gridKey(static_cast<QKeyEvent*>(event));
    if (watched == m_grid->viewport() && type == QEvent::MouseButtonPress)
        commit();
    return false;
}

bool GridCellEditor::editBoxKey(QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        act(m_enter);
        return true; // no character, no beep
    case Qt::Key_Tab:
        act(m_tab);
        return true;
    case Qt::Key_Up:
        act(KeyBehaviour::MoveUp);
        return true;
    case Qt::Key_Down:
        act(KeyBehaviour::MoveDown);
        return true;
    case Qt::Key_Escape:
        m_box->hide();
        m_grid->setFocus();
        return true;
    default:
        // Typing into a cell scrolled out of sight brings it back first.
        if (!cellVisible()) {
            m_grid->scrollToItem(m_grid->item(m_row, m_column));
            followCell();
        }
        return false;
    }
}

bool GridCellEditor::gridKey(QKeyEvent* key)
{
    // Shortcuts (copy, select all) are the grid's; so are Tab and Backtab, which move between
    // cells.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    // The keys of character code 32 or below open the editor on the cell's text, Escape too.
    // They are matched by key, since not every keyboard layout gives them their control
    // character.
    case Qt::Key_Space:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_F2:
        openEditorOnCurrentText();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.size() != 1)
        return false;
    const char16_t code = text.at(0).unicode();
    if (code > 32 && code != 127) {
        openEditor(text); // the typed character becomes the whole new text
        return true;
    }
    if (code < 32) {
        openEditorOnCurrentText();
        return true;
    }
    return false;
}

void GridCellEditor::openEditorOnCurrentText()
{
    QTableWidgetItem* item = m_grid->currentItem();
    openEditor(item ? item->text() : QString());
}
