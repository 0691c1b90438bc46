#pragma once

#include "common/runtimeerror.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace qiravon {

class ListControl;

//! The visible station list and the hidden master table, and the operations that fill them.
//! Both hold a station a row, in the columns of StationColumn.
class StationTables
{
public:
    //! `dataDir` is the folder holding the catalogue files, with a trailing separator.
    StationTables(ListControl& visible, ListControl& master, QString dataDir);

    [[nodiscard]] QString dataPath(const QString& fileName) const { return m_dataDir + fileName; }
    [[nodiscard]] const QString& dataDir() const { return m_dataDir; }

    //! Defines the five columns of the visible list, then the five of the master table.
    void AddListViewColumn();
    //! Appends one row to the visible list.
    void addlist(const QString& category, const QString& name, const QString& description,
                 const QString& streamAddress);
    //! Appends one row to the master table.
    void addlist2(const QString& category, const QString& name, const QString& description,
                  const QString& streamAddress);

    //! Reads radiolist.cdb into the master table.
    [[nodiscard]] std::optional<RuntimeError> LoadMasterCatalogue();
    void AddMasterRecord(const QString& line, const QString& category);
    void AddVisibleRecord(const QString& line, const QString& category);
    //! Appends every line of `fileName` to the visible list under `category`.
    [[nodiscard]] std::optional<RuntimeError> AppendCatalogueFile(const QString& fileName,
                                                                  const QString& category);
    //! Appends every master row to the visible list. `keepGoing`, when given, is called
    //! between rows every few milliseconds of copying; it may run pending events and returns
    //! false to stop the copy. Returns false when the copy was stopped.
    bool CopyAllStations(const std::function<bool()>& keepGoing = {});
    //! Milliseconds on a monotonic clock; the copy measures its slices with it.
    using Clock = std::function<qint64()>;
    //! Replaces the copy's clock (a steady clock unless a test sets one).
    void setCopyClock(Clock clock) { m_copyClock = std::move(clock); }
    //! Appends the master rows whose category equals `caption` exactly.
    void CopyStationsOfCategory(const QString& caption);

    [[nodiscard]] ListControl& visible() { return m_visible; }
    [[nodiscard]] ListControl& master() { return m_master; }

private:
    ListControl& m_visible;
    ListControl& m_master;
    QString m_dataDir;
    Clock m_copyClock;
};

} // namespace qiravon
