#pragma once

#include "DataSet.h"
#include "ResultSet.h"
#include "SqlParameters.h"

#include <string>

namespace precivox {

class ClientDataSet;

// Runs the statements of client data sets. Typically one query serves every data set:
// fetch() puts the data set's command text and parameters into it, opens it and hands
// its rows over with Query::takeResult().
class ClientDataSetProvider {
public:
    virtual ~ClientDataSetProvider() = default;
    // The whole result of the data set's command. Raises on failure.
    virtual ResultSet fetch(const ClientDataSet& dataSet) = 0;
    // Asked before any change would be written back; raising refuses the write.
    virtual void beforeApplyUpdates(const ClientDataSet& dataSet) = 0;
};

// An in-memory table: after opening it holds all rows of its command, whatever the
// provider runs later. It never writes to the database.
class ClientDataSet : public DataSet {
public:
    explicit ClientDataSet(ClientDataSetProvider& provider) : provider_(provider) {}

    // Lists the ":name" parameters of the text, all null, in order of first appearance.
    void setCommandText(std::string text);
    const std::string& commandText() const { return commandText_; }
    SqlParameters& params() { return params_; }
    const SqlParameters& params() const { return params_; }

    // Closes, then fetches every row through the provider and stands on the first.
    // Stays closed when the provider raises.
    void open();
    // Lets the provider refuse; nothing is ever written.
    void applyUpdates() { provider_.beforeApplyUpdates(*this); }

private:
    ClientDataSetProvider& provider_;
    std::string commandText_;
    SqlParameters params_;
};

} // namespace precivox
