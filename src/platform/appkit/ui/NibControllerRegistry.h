#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace nupo {

class NibController;

// Maps the controller class names that nibs give (the root's `controllerClass` property) to factories.
// The program registers its controllers at start-up, in one list (app/Wiring.cpp).
class NibControllerRegistry {
public:
    using Factory = std::function<NibController*()>;

    // Registers (or replaces) the factory for className.
    static void add(const QString& className, Factory factory);
    // Registers Controller (a NibController with a public default constructor) under className.
    template <class Controller>
    static void add(const QString& className)
    {
        add(className, []() -> NibController* { return new Controller; });
    }
    static bool contains(const QString& className);
    // A new controller of that class, or null when the class is unknown.
    static NibController* create(const QString& className);
    static QStringList classNames();
};

}  // namespace nupo
