#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace nupo {

class NibController;

// Maps the controller class names that nibs give (the root's `controllerClass` property) to factories.
// Controllers register themselves with NUPO_REGISTER_NIB_CONTROLLER in their source file.
class NibControllerRegistry {
public:
    using Factory = std::function<NibController*()>;

    // Registers (or replaces) the factory for className; returns true so it can initialise a static.
    static bool add(const QString& className, Factory factory);
    static bool contains(const QString& className);
    // A new controller of that class, or null when the class is unknown.
    static NibController* create(const QString& className);
    static QStringList classNames();
};

}  // namespace nupo

// Registers a NibController subclass under its own name; put it in the class's .cpp inside
// `namespace nupo`. The class needs a public default constructor.
#define NUPO_REGISTER_NIB_CONTROLLER(Class)                                  \
    [[maybe_unused]] static const bool nupoNibControllerRegistered_##Class = \
        ::nupo::NibControllerRegistry::add(QStringLiteral(#Class),           \
                                           []() -> ::nupo::NibController* { return new Class; });
