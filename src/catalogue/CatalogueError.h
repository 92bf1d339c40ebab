#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

/// A database or file failure, carried from the store to the window that reports it.
/// `message()` is the French sentence for the keeper; `detail()` keeps the engine's own text.
class CatalogueError : public std::exception {
public:
    enum class Kind {
        Missing,       ///< no catalogue file in the folder
        NotACatalogue, ///< unreadable, corrupt or not an SQLite file
        Locked,        ///< another program holds the file
        OutOfDate,     ///< the file lacks the Vantorel table or one of its fields
        MissingTables, ///< one of the other tables or fields is missing
        Read,          ///< a read failed while working
        Write,         ///< a write failed; nothing was changed
    };

    CatalogueError(Kind kind, QString message, QString detail = {});

    Kind kind() const { return m_kind; }
    const QString& message() const { return m_message; }
    const QString& detail() const { return m_detail; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    Kind m_kind;
    QString m_message;
    QString m_detail;
    QByteArray m_what;
};
