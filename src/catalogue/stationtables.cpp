#include "catalogue/stationtables.h"

#include "catalogue/cataloguefile.h"
#include "catalogue/recordsplit.h"
#include "catalogue/stationrecord.h"
#include "hosted/list/listcontrol.h"

#include <chrono>
#include <utility>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

struct ColumnDef
{
    const char16_t* key;
    const char16_t* caption;
    int width;
    bool flags;
};

constexpr ColumnDef kVisibleColumns[] = {
    {u"a", u"编号", 40, true},       {u"b", u"地区", 80, true},  {u"c1", u"电台名称", 150, true},
    {u"c2", u"电台介绍", 430, true}, {u"d", u"地址", 10, false},
};
constexpr ColumnDef kMasterColumns[] = {
    {u"a1", u"编号", 40, true},       {u"b1", u"地区", 80, true},  {u"c11", u"电台名称", 150, true},
    {u"c21", u"电台介绍", 200, true}, {u"d1", u"地址", 200, true},
};

void addColumns(ListControl& list, const ColumnDef (&columns)[kStationColumnCount])
{
    for (const ColumnDef& c : columns) {
        list.AddColumn(QString::fromUtf16(c.key), QString::fromUtf16(c.caption), 0, c.width,
                       c.flags, c.flags);
    }
}

// How long the all-stations copy may run before it lets the user interface breathe.
constexpr qint64 kYieldEveryMs = 8;

} // namespace

StationTables::StationTables(ListControl& visible, ListControl& master, QString dataDir)
    : m_visible(visible), m_master(master), m_dataDir(std::move(dataDir)), m_copyClock([] {
          using namespace std::chrono;
          return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
      })
{
}

void StationTables::AddListViewColumn()
{
    addColumns(m_visible, kVisibleColumns);
    addColumns(m_master, kMasterColumns);
}

void StationTables::addlist(const QString& category, const QString& name,
                            const QString& description, const QString& streamAddress)
{
    appendStation(m_visible, {category, name, description, streamAddress});
}

void StationTables::addlist2(const QString& category, const QString& name,
                             const QString& description, const QString& streamAddress)
{
    appendStation(m_master, {category, name, description, streamAddress});
}

std::optional<RuntimeError> StationTables::LoadMasterCatalogue()
{
    QString category;
    return CatalogueFile::forEachLine(dataPath(u"radiolist.cdb"_s), [&](const QString& line) {
        if (line.contains(u'#'))
            category = line.mid(1);
        else
            AddMasterRecord(line, category);
    });
}

void StationTables::AddMasterRecord(const QString& line, const QString& category)
{
    appendStation(m_master, splitRecordLine(line, category));
}

void StationTables::AddVisibleRecord(const QString& line, const QString& category)
{
    appendStation(m_visible, splitRecordLine(line, category));
}

std::optional<RuntimeError> StationTables::AppendCatalogueFile(const QString& fileName,
                                                               const QString& category)
{
    return CatalogueFile::forEachLine(
        dataPath(fileName), [&](const QString& line) { AddVisibleRecord(line, category); });
}

bool StationTables::CopyAllStations(const std::function<bool()>& keepGoing)
{
    const int count = m_master.ItemCount();
    qint64 lastYield = m_copyClock();
    for (int row = 0; row < count; ++row) {
        if (keepGoing && m_copyClock() - lastYield >= kYieldEveryMs) {
            if (!keepGoing())
                return false;
            lastYield = m_copyClock();
        }
        if (const auto station = readStation(m_master, row))
            appendStation(m_visible, *station);
    }
    return true;
}

void StationTables::CopyStationsOfCategory(const QString& caption)
{
    const int count = m_master.ItemCount();
    for (int row = 0; row < count; ++row) {
        // The category alone decides, so the other cells are read only for a match.
        if (m_master.ItemText(row, columnIndex(StationColumn::Category)) != caption)
            continue;
        if (const auto station = readStation(m_master, row))
            appendStation(m_visible, *station);
    }
}

} // namespace qiravon
