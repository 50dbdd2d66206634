#include "channellistwindow.h"

#include "artwork.h"
#include "channels/channelmatch.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/translate.h"
#include "gridcelleditor.h"
#include "placement.h"
#include "platform/userinterface.h"
#include "settings/settingscatalogue.h"
#include "windowkeys.h"
#include "windowunits.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPointer<ChannelListWindow>& openOne()
{
    static QPointer<ChannelListWindow> window;
    return window;
}

void information(const QString& text)
{
    kov::userInterface().messageBox(text, MessageIcon::Information, kov::appTitle());
}

// A heading and the names under it, at most a screenful of them.
QString nameList(const QString& heading, const QStringList& names)
{
    const int shown = 15;
    QString text = heading;
    for (const QString& name : names.mid(0, shown))
        text += kov::crLf() + QStringLiteral("  ") + name;
    if (names.size() > shown)
        text += kov::crLf() + QStringLiteral("  (+%1)").arg(names.size() - shown);
    return text;
}
} // namespace

ChannelListWindow* ChannelListWindow::openInstance()
{
    return openOne().data();
}

ChannelListWindow::ChannelListWindow(QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), m_mainWindow(mainWindow)
{
    openOne() = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kov::translate(QStringLiteral("Channel Configuration")));
    setWindowIcon(Artwork::windowIcon());
    m_settings.setKey(kov::settingsKey());
    headingLabel = new QLabel(kov::translate(QStringLiteral("Channel Configuration")), this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    grid = new QTableWidget(this);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    sortByChannelButton = new QPushButton(kov::translate(QStringLiteral("Sort By Channel")), this);
    sortByNameButton = new QPushButton(kov::translate(QStringLiteral("Sort By Name")), this);
    sortByNameButton->setObjectName(QStringLiteral("sortByNameButton"));
    matchButton = new QPushButton(kov::translate(QStringLiteral("Match")), this);
    matchButton->setToolTip(kov::translate(QStringLiteral("Fill empty numbers from the recorder")));
    closeButton = new QPushButton(kov::translate(QStringLiteral("Close")), this);
    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setWordWrap(true);
    statusLine->hide(); // shown while it has something to say; the grid has the room otherwise
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sortByChannelButton);
    buttons->addWidget(sortByNameButton);
    buttons->addWidget(matchButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel);
    layout->addWidget(grid);
    layout->addWidget(statusLine);
    layout->addLayout(buttons);
    resize(kov::twipsToPixels(5400, this), kov::twipsToPixels(6000, this));

    m_editor = new GridCellEditor(this);
    m_editor->setGrid(grid);
    connect(m_editor, &GridCellEditor::cellStored, this, &ChannelListWindow::cleanNumberCell);
    connect(sortByChannelButton, &QPushButton::clicked, this,
            [this] { fillGrid(2, 1, ChannelListModel::Order::Number); });
    connect(sortByNameButton, &QPushButton::clicked, this,
            [this] { fillGrid(2, 0, ChannelListModel::Order::Name); });
    connect(matchButton, &QPushButton::clicked, this, &ChannelListWindow::matchChannels);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    kov::useWindowKeys(this, kov::EscapeKey::ClosesWindow);
    kov::keepOnScreenWhenFramed(this);

    fillGrid(kov::number(m_settings, Setting::GridFillMethod), 1);
}

ChannelListWindow::~ChannelListWindow() = default;

void ChannelListWindow::fillGrid(int method, int sortColumn, ChannelListModel::Order order)
{
    m_editor->commit(); // a number being typed counts as typed
    const QHash<QString, QString> typed = typedNumbers();
    ChannelListModel model;
    const ChannelListModel::Fill result = model.fill(method, sortColumn);
    m_method = model.method();
    matchButton->setEnabled(m_method == 2); // only the normal view has a Number column
    if (result == ChannelListModel::Fill::NoGuide) {
        m_noGuide = true;
        return;
    }
    if (result != ChannelListModel::Fill::Ok)
        return;
    const QList<QStringList> shown = model.arrange(order, typed);
    m_loaded = model.rows();
    grid->clear();
    grid->setColumnCount(static_cast<int>(model.header().size()));
    grid->setRowCount(static_cast<int>(shown.size()));
    grid->setHorizontalHeaderLabels(model.header());
    if (m_method == 2) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            const int present = kov::pixelsToTwips(grid->columnWidth(c), this);
            grid->setColumnWidth(
                c, kov::twipsToPixels(kov::number(m_settings, {Setting::ColumnWidth, c}, present),
                                      this));
        }
    }
    for (int r = 0; r < shown.size(); ++r) {
        const QStringList& row = shown.at(r);
        for (int c = 0; c < grid->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(row.value(c));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    }
}

void ChannelListWindow::matchChannels()
{
    if (m_method != 2)
        return;
    m_editor->commit(); // a number being typed counts as set and is kept
    // Connecting to a VDR that does not answer takes up to its time-out.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool reachable = false;
    QString why;
    const std::optional<QList<RecorderChannel>> channels =
        kov::recorderChannels(*m_recorders, &reachable, &why);
    QApplication::restoreOverrideCursor();
    if (!reachable) {
        // The recorder's own sentence names it (host and port for a VDR) and the cause.
        information(kov::translate(QStringLiteral("The recorder cannot be reached")) +
                    (why.isEmpty() ? QString() : kov::crLf() + why));
        return;
    }
    if (!channels) {
        information(
            kov::translate(QStringLiteral("The recorder keeps no channel list to match against")));
        return;
    }
    QList<QStringList> rows = gridRows();
    const ChannelMatch match = kov::matchChannels(rows, *channels);
    for (int r = 0; r < rows.size(); ++r) {
        const QString number = rows[r].value(1);
        QTableWidgetItem* item = grid->item(r, 1);
        if (item && item->text() == number)
            continue;
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grid->setItem(r, 1, item);
        }
        item->setText(number);
    }
    QStringList parts;
    if (!match.unmatched.isEmpty())
        parts << nameList(kov::translate(QStringLiteral("No recorder channel matches:")),
                          match.unmatched);
    if (!match.ambiguous.isEmpty())
        parts << nameList(kov::translate(QStringLiteral("More than one recorder channel matches:")),
                          match.ambiguous);
    if (!parts.isEmpty())
        information(parts.join(kov::crLf() + kov::crLf()));
}

void ChannelListWindow::cleanNumberCell(int row, int column, const QString& previous)
{
    if (m_method != 2 || column != 1)
        return;
    QTableWidgetItem* item = grid->item(row, column);
    if (!item)
        return;
    QString cleaned;
    QString why;
    if (ChannelListModel::cleanNumber(item->text(), &cleaned, &why)) {
        item->setText(cleaned);
        statusLine->clear();
        statusLine->hide();
    } else {
        item->setText(previous);
        statusLine->setText(why);
        statusLine->show();
        QApplication::beep();
    }
}

QList<QStringList> ChannelListWindow::gridRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < grid->columnCount(); ++c)
            row << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        rows << row;
    }
    return rows;
}

QHash<QString, QString> ChannelListWindow::typedNumbers() const
{
    QHash<QString, QString> typed;
    if (m_method != 2)
        return typed;
    const QList<QStringList> rows = gridRows();
    for (int r = 0; r < rows.size() && r < m_loaded.size(); ++r) {
        const QString number = rows.at(r).value(1);
        if (!number.isEmpty() && number != m_loaded.at(r).value(1))
            typed.insert(m_loaded.at(r).value(0), number);
    }
    return typed;
}

bool ChannelListWindow::hasChanges() const
{
    return m_method == 2 && ChannelListModel::hasChanges(gridRows());
}

void ChannelListWindow::saveGrid()
{
    ChannelListModel::save(m_method, gridRows(), m_loaded);
}

void ChannelListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The stored place is the frame's top-left corner, in twips like the other stored window
    // sizes; by default the frame stands just right of the main window's, 10 twips (less than
    // a pixel) apart, top edges level.
    const QRect main =
        m_mainWindow ? kov::frameRect(m_mainWindow, kov::frameMargins(m_mainWindow)) : QRect();
    const int left = kov::number(m_settings, Setting::ChannelListLeft,
                                 kov::pixelsToTwips(main.left() + main.width(), this) + 10);
    const int top =
        kov::number(m_settings, Setting::ChannelListTop, kov::pixelsToTwips(main.top(), this));
    const QMargins frame = kov::frameMargins(this, m_mainWindow);
    kov::moveFrameTo(this, QPoint(kov::twipsToPixels(left, this), kov::twipsToPixels(top, this)),
                     frame);
    // Beside a main window near the right edge, or at a place stored on a larger screen, the
    // window would run off the screen, hiding its buttons; at its final size (wider in German)
    // it moves back inside.
    kov::keepOnScreen(this, frame);
    if (m_noGuide)
        QTimer::singleShot(0, this, &QWidget::close);
}

void ChannelListWindow::closeEvent(QCloseEvent* event)
{
    if (!m_noGuide && !m_closing) {
        m_closing = true;
        m_editor->commit(); // a typed number reaches its cell before the grid is read
        for (int c = 0; c < grid->columnCount(); ++c)
            kov::setNumber(m_settings, {Setting::ColumnWidth, c},
                           kov::pixelsToTwips(grid->columnWidth(c), this));
        if (hasChanges()) {
            const MessageAnswer answer = kov::userInterface().messageBox(
                kov::translate(QStringLiteral("Save Changes ?")),
                {MessageIcon::Question, MessageButtons::YesNo},
                kov::translate(QStringLiteral("Channel Configuration")));
            if (answer == MessageAnswer::Yes)
                saveGrid();
        }
        // The same rectangle the window was placed by: the frame's.
        const QRect outer = kov::frameRect(this, kov::frameMargins(this, m_mainWindow));
        kov::setNumber(m_settings, Setting::ChannelListWidth,
                       kov::pixelsToTwips(outer.width(), this));
        kov::setNumber(m_settings, Setting::ChannelListHeight,
                       kov::pixelsToTwips(outer.height(), this));
        kov::setNumber(m_settings, Setting::ChannelListLeft,
                       kov::pixelsToTwips(outer.left(), this));
        kov::setNumber(m_settings, Setting::ChannelListTop, kov::pixelsToTwips(outer.top(), this));
    }
    event->accept();
}
