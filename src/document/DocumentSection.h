#pragma once

// One section of a brain-note document or preference file: a dictionary under its own key, written from
// and read into the process-wide state of one subsystem. Reading is two steps, so that a damaged file
// changes nothing: stage() takes the values into the section's own storage and says what is wrong, and
// apply() (only once every section has staged) hands them to the subsystem.

#include "platform/plist/PlistValue.h"

#include <QString>

#include <optional>
#include <vector>

namespace nupo {

// What a reader knows while it applies the sections.
struct DocumentReadContext {
    bool isPreferenceFile = false;
    bool startedApplication = false;  // the reader ran the start-up sequence
};

// Typed values out of one section's dictionary. A missing key is not an error (the value stays as it
// is); a value of the wrong type, a number that does not parse or is not finite, or an array longer than
// its table is: the first such problem is kept with its place ("Section, key[index]"). Numbers outside
// their range are clamped; names are cut to their bound.
class SectionInput {
public:
    SectionInput(const PlistDictionary& dictionary, QString section);

    bool failed() const { return !problemText.isEmpty(); }
    const QString& problem() const { return problemText; }
    void fail(const QString& place, const QString& message);

    bool has(const QString& key) const { return dictionary.contains(key); }
    std::optional<double> number(const QString& key, double low, double high);
    std::optional<int> integer(const QString& key, int low, int high);
    std::optional<QString> name(const QString& key, int maxLength);
    std::optional<QByteArray> data(const QString& key, qsizetype maxBytes);
    // An array of at most maxCount numbers (clamped), or of names (cut).
    std::optional<std::vector<double>> numbers(const QString& key, int maxCount, double low, double high);
    std::optional<std::vector<QString>> names(const QString& key, int maxCount, int maxLength);
    // An array of at most maxRows arrays of at most maxColumns numbers.
    std::optional<std::vector<std::vector<double>>> table(const QString& key, int maxRows, int maxColumns,
                                                          double low, double high);

    // An array of at most maxCount dictionaries, each read with an input of its own whose places are
    // "key[index], inner key"; a problem in one of them is taken up with adopt().
    std::optional<std::vector<const PlistDictionary*>> dictionaries(const QString& key, int maxCount);
    SectionInput item(const PlistDictionary& dictionary, const QString& key, int index) const;
    void adopt(const SectionInput& inner);

    // A number read from its text: finite, clamped to low..high.
    static std::optional<double> parseNumber(const PlistValue& value, double low, double high);

private:
    const PlistValue* find(const QString& key, PlistValue::Type type);
    // The array's items when it is an array of at most maxCount items (`unit` names them in the message).
    const PlistValue::Array* boundedArray(const PlistValue& value, const QString& place, int maxCount,
                                          const char* unit);
    const PlistValue::Array* boundedArray(const QString& key, int maxCount, const char* unit);
    std::optional<std::vector<double>> numbersOf(const PlistValue& array, const QString& place, int maxCount,
                                                 double low, double high);

    const PlistDictionary& dictionary;
    QString section;
    QString problemText;
};

// Numbers as a section writes them: integers without a point, others in the shortest form that reads back
// to the same float or double.
PlistValue numberValue(double value);
PlistValue floatValue(float value);
PlistValue integerValue(int value);

class DocumentSection {
public:
    virtual ~DocumentSection() = default;

    // The key of the section in the top-level dictionary.
    virtual QString key() const = 0;
    // Whether the preference file carries the section too (the recording does not).
    virtual bool inPreferenceFile() const { return true; }
    // The section as it stands now; none when the section is not saved at this time.
    virtual std::optional<PlistDictionary> write() = 0;
    // Takes the values of a file into the section's storage; false (with the problem in input) when the
    // file must be refused.
    virtual bool stage(SectionInput& input) = 0;
    // A document that lacks the section: stages the values the section starts from, so that nothing of
    // the document it replaces stays (its windows, drawing, sounds, movie). False: the section keeps what
    // it holds, as the settings that documents share with the preference file do.
    virtual bool stageDefaults() { return false; }
    // Hands the staged values to the subsystem, in the order it expects them.
    virtual void apply(const DocumentReadContext& context) = 0;
};

}  // namespace nupo
