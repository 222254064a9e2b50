// The document-operation class of the utility library: what a host's
// document tells the view about its units. The view divides world
// coordinates by the unit scale and formats each with the precision.
#pragma once

#include <tessiv/platform/mfc_string.h>

// A host derives its operation class from CBaseOperation or sets the unit
// scale and precision on it. The precision is a printf format for exactly
// one double, such as "%.3f"; a format that would read anything else is
// refused, because the view passes it one double and nothing more.
class CBaseOperation {
public:
    CBaseOperation() = default;
    virtual ~CBaseOperation() = default;

    // World units per document unit; 1 by default.
    virtual double GetUnitScale() const { return m_unitScale; }
    // "%.3f" by default.
    virtual CString GetPrecision() const { return m_precision; }

    void SetUnitScale(double scale) { m_unitScale = scale; }
    // Returns false and keeps the old format unless format has exactly one
    // conversion of a double (f, F, e, E, g, G, a, A with flags, width and
    // precision, no '*') besides any "%%".
    bool SetPrecision(char const *format);
    // Sets "%.<decimals>f" for 0 to 15 decimals; false otherwise.
    bool SetDecimals(int decimals);

private:
    double m_unitScale = 1.0;
    CString m_precision = "%.3f";
};
