#pragma once

#include <QString>

/// `widget`, given its documented name: the objectName by which anyone finds a control.
template <typename W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}
