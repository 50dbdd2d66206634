#pragma once
// The in-grid editor of the channel list: lays a text box over the current cell of a grid.
// Typing opens it, Enter/Tab/Up/Down store and move, Escape leaves the cell's old text.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTableWidget>

class QKeyEvent;
class QLineEdit;
class QWidget;

class GridCellEditor : public QObject
{
    Q_OBJECT
public:
    /// What Enter or Tab does in the edit box after storing the edit: close the editor and
    /// stay on the cell, or move to the next cell right (wrapping to the next row), down
    /// (wrapping to the next column) or up.
    enum class KeyBehaviour
    {
        CloseEditor,
        MoveRight,
        MoveDown,
        MoveUp
    };

    explicit GridCellEditor(QObject* parent = nullptr);

    /// Attaches the editor: adds the hidden box "cellEditor" (or "cellEditor1", ...) to the
    /// grid's window.
    void setGrid(QTableWidget* grid);
    QTableWidget* grid() const { return m_grid; }
    void setEnterKeyBehaviour(KeyBehaviour behaviour) { m_enter = behaviour; }
    KeyBehaviour enterKeyBehaviour() const { return m_enter; }
    /// Any behaviour but CloseEditor takes the window's other widgets out of the tab order, so
    /// that Tab moves through the grid; CloseEditor puts them back.
    void setTabKeyBehaviour(KeyBehaviour behaviour);
    KeyBehaviour tabKeyBehaviour() const { return m_tab; }

    QLineEdit* editBox() const { return m_box; }
    bool isEditing() const;
    /// Stores a pending edit into its cell, hides the box and emits cellStored.
    void commit();

signals:
    /// A cell received the edit box's text in place of `previous`.
    void cellStored(int row, int column, const QString& previous);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Enter, Tab, Up and Down store and move; Escape drops the edit. True when handled.
    bool editBoxKey(QKeyEvent* key);
    /// F2 and the keys of code 32 or below (Space, BackSpace, Enter) open the editor on the
    /// cell's text; a printable character replaces it. Tab stays the grid's navigation, Escape
    /// goes on to the window.
    bool gridKey(QKeyEvent* key);
    void openEditor(const QString& text);
    void openEditorOnCurrentText();
    void act(KeyBehaviour behaviour);
    void followCell();
    bool cellVisible() const;

    QPointer<QTableWidget> m_grid;
    QLineEdit* m_box = nullptr;
    int m_row = -1;
    int m_column = -1;
    KeyBehaviour m_enter = KeyBehaviour::CloseEditor;
    KeyBehaviour m_tab = KeyBehaviour::CloseEditor;
    bool m_moving = false;
    QHash<QWidget*, Qt::FocusPolicy> m_savedTabStops;
};
