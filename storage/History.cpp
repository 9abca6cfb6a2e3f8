// SPDX-License-Identifier: MIT
#include "storage/History.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace storage {

using namespace Qt::StringLiterals;

History::History(QString filePath, QString modulePath)
    : filePath_(std::move(filePath)), library_(std::move(modulePath))
{
}

// The store is made by the module's code, so it goes before the module
// could; the module itself stays mapped until the process ends.
History::~History() = default;

namespace {

QString& ModulePathInUse()
{
    static QString path;
    return path;
}

} // namespace

QString History::DefaultModulePath()
{
    if (!ModulePathInUse().isEmpty())
        return ModulePathInUse();
    return QCoreApplication::applicationDirPath() + u'/' + QLatin1String(HistoryModuleFile);
}

void History::useModuleAt(const QString& modulePath)
{
    ModulePathInUse() = modulePath;
}

HistoryStore* History::store()
{
    if (broken_)
        return nullptr;
    if (store_)
        return store_.get();
    const auto makeStore = reinterpret_cast<CreateHistoryStore>(library_.resolve(CreateHistoryStoreSymbol));
    if (!makeStore) {
        fail(u"cannot load the history module: %1"_s.arg(library_.errorString()));
        return nullptr;
    }
    store_.reset(makeStore());
    if (!store_) {
        fail(u"the history module %1 made no store"_s.arg(library_.fileName()));
        return nullptr;
    }
    QString error;
    if (!store_->open(filePath_, error)) {
        fail(u"cannot open the play history %1: %2"_s.arg(filePath_, error));
        return nullptr;
    }
    return store_.get();
}

bool History::record(const game::PlayRecord& record)
{
    HistoryStore* history = store();
    if (!history)
        return false;
    QString error;
    if (!sessionBegun_) {
        if (!history->beginSession(sessionStartMs_, error))
            return fail(u"cannot begin this session in the play history: %1"_s.arg(error));
        sessionBegun_ = true;
    }
    return history->append(record, error) || fail(u"cannot add to the play history: %1"_s.arg(error));
}

bool History::scan(const HistoryStore::Visitor& visit)
{
    HistoryStore* history = store();
    if (!history)
        return false;
    QString error;
    return history->scan(visit, error) || fail(u"cannot read the play history: %1"_s.arg(error));
}

bool History::summary(HistorySummary& summary)
{
    HistoryStore* history = store();
    if (!history)
        return false;
    QString error;
    return history->summary(summary, error) || fail(u"cannot read the play history's figures: %1"_s.arg(error));
}

bool History::dayLine(QDate day, game::SlumpLine& line)
{
    HistoryStore* history = store();
    if (!history)
        return false;
    QString error;
    return history->dayLine(day, line, error) || fail(u"cannot read the play history: %1"_s.arg(error));
}

bool History::readCounter(game::DataCounter& counter)
{
    HistorySummary figures;
    game::SlumpLine today;
    if (!summary(figures) || !dayLine(counter.todayDate(), today))
        return false;
    counter.setHistory(figures.allTime, figures.days);
    counter.setDayLine(counter.todayDate(), std::move(today));
    return true;
}

qint64 History::currentSession() const
{
    return store_ && !broken_ ? store_->currentSession() : 0;
}

// The destination is written whole or not at all; one that cannot be
// written costs only the export.
bool History::exportCsv(const QString& path, QString& error)
{
    HistoryStore* history = store();
    if (!history) {
        error = failure_;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = u"cannot write %1: %2"_s.arg(path, file.errorString());
        return false;
    }
    if (!history->exportCsv(file, error)) {
        if (file.error() != QFileDevice::NoError)
            return false;
        error = u"cannot read the play history: %1"_s.arg(error);
        return fail(error);
    }
    if (!file.commit()) {
        error = u"cannot write %1: %2"_s.arg(path, file.errorString());
        return false;
    }
    return true;
}

bool History::clear(QString& error)
{
    HistoryStore* history = store();
    if (!history) {
        error = failure_;
        return false;
    }
    if (history->clear(error))
        return true;
    error = u"cannot clear the play history: %1"_s.arg(error);
    return fail(error);
}

void History::endSession(qint64 endedAtMs)
{
    QString error;
    if (store_ && !broken_ && sessionBegun_ && !store_->endSession(endedAtMs, error))
        fail(u"cannot end this session in the play history: %1"_s.arg(error));
}

QString History::takeFailure()
{
    if (!broken_ || failureTaken_)
        return {};
    failureTaken_ = true;
    return failure_;
}

// The history goes out of use: the store and its file are closed, and
// nothing is tried again in this run.
bool History::fail(const QString& reason)
{
    if (!broken_) {
        broken_ = true;
        failure_ = reason;
    }
    store_.reset();
    return false;
}

} // namespace storage
