#include "platform/appkit/ui/NibCheck.h"

#include <QSet>
#include <QUiLoader>
#include <QXmlStreamReader>

namespace nupo {

namespace {

struct KnownClasses {
    QSet<QString> widgets;
    QSet<QString> layouts;
};

const KnownClasses& knownClasses()
{
    static const KnownClasses known = [] {
        QUiLoader loader;
        KnownClasses k;
        for (const QString& name : loader.availableWidgets())
            k.widgets.insert(name);
        for (const QString& name : NibCheck::ownWidgetClasses())
            k.widgets.insert(name);
        for (const QString& name : loader.availableLayouts())
            k.layouts.insert(name);
        return k;
    }();
    return known;
}

}  // namespace

const QStringList& NibCheck::ownWidgetClasses()
{
    static const QStringList names{QStringLiteral("nupo::ColorWell"), QStringLiteral("ColorWell")};
    return names;
}

QString NibCheck::problemIn(const QByteArray& nib)
{
    const KnownClasses& known = knownClasses();
    QXmlStreamReader xml(nib);
    int depth = 0;
    bool sawRoot = false;
    auto at = [&xml](const QString& what) {
        return QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(what);
    };
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth > maxDepth)
            return at(QStringLiteral("elements nested deeper than %1 levels").arg(maxDepth));
        const QStringView name = xml.name();
        if (depth == 1) {
            if (name != u"ui")
                return at(QStringLiteral("the root element is <%1>, not <ui>").arg(name));
            sawRoot = true;
        }
        const bool isWidget = name == u"widget";
        if (!isWidget && name != u"layout")
            continue;
        const QString className = xml.attributes().value(QLatin1String("class")).toString();
        if (className.isEmpty())
            return at(QStringLiteral("a <%1> without a class").arg(name));
        if (!(isWidget ? known.widgets : known.layouts).contains(className))
            return at(QStringLiteral("unknown %1 class %2")
                          .arg(isWidget ? QLatin1String("widget") : QLatin1String("layout"), className));
    }
    if (xml.hasError())
        return at(xml.errorString());
    if (!sawRoot)
        return QStringLiteral("no <ui> element");
    return {};
}

}  // namespace nupo
