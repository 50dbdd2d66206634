#pragma once
// The channel list editor. The data rules live in ChannelListModel (core); this
// window shows them in a grid edited through GridCellEditor.
//
// The column headings ("Name", "Number") are the table's horizontal header, not a row of it,
// so table row 0 is the first channel.
#include "channels/channellist.h"
#include "recorders/recorderfactory.h"
#include "settings/settingsstore.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class GridCellEditor;

class ChannelListWindow : public QWidget
{
    Q_OBJECT
public:
    /// `mainWindow` gives the default position (just right of it, top edges level).
    explicit ChannelListWindow(QWidget* mainWindow, QWidget* parent = nullptr);
    ~ChannelListWindow() override;

    /// The open editor, if any (the main window closes it when it hides or exits).
    static ChannelListWindow* openInstance();

    QTableWidget* grid;
    QLabel* headingLabel;
    QPushButton* sortByChannelButton;
    QPushButton* sortByNameButton;
    QPushButton* matchButton;
    QPushButton* closeButton;
    QLabel* statusLine; ///< why a typed number was refused; empty otherwise
    GridCellEditor* editor() const { return m_editor; }
    bool noGuide() const { return m_noGuide; }
    int fillMethod() const { return m_method; }

    /// Fills the grid; a refill keeps the numbers typed for names the database holds no number
    /// for, and shows the rows in `order`.
    void fillGrid(int method, int sortColumn,
                  ChannelListModel::Order order = ChannelListModel::Order::File);
    /// Fills every empty Number cell from the recorder's channel list; the numbers become
    /// unsaved edits. A number already in the grid is never changed.
    void matchChannels();
    /// The recorder whose channel list the match reads (not owned); the configured backend
    /// until set.
    void setRecorders(RecorderSource& recorders) { m_recorders = &recorders; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QList<QStringList> gridRows() const;
    /// The Number cells edited since the grid was filled, by the channel name as filled.
    QHash<QString, QString> typedNumbers() const;
    bool hasChanges() const;
    void saveGrid();
    /// A Number cell keeps a whole number 1 to 999 or nothing; other text is refused, the
    /// status line says why and the cell gets its previous text back.
    void cleanNumberCell(int row, int column, const QString& previous);

    QPointer<QWidget> m_mainWindow;
    SettingsStore m_settings;
    GridCellEditor* m_editor;
    int m_method = 2;
    QList<QStringList> m_loaded; // the rows as filled, before any edit
    bool m_noGuide = false;
    bool m_closing = false;
    ConfiguredRecorders m_configured;
    RecorderSource* m_recorders = &m_configured;
};
