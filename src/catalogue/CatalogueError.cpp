#include "catalogue/CatalogueError.h"

CatalogueError::CatalogueError(Kind kind, QString message, QString detail)
    : m_kind(kind)
    , m_message(std::move(message))
    , m_detail(std::move(detail))
    , m_what((m_message + u' ' + m_detail).toUtf8())
{
}
