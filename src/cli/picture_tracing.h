// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "document/vector_set.h"
#include "trace/trace.h"

namespace penmoji::cli {

// A picture traced into a drawing, or why it could not be.
struct TracedPicture {
    std::unique_ptr<VectorSet> drawing;
    trace::TraceReport report;
    std::string error;  // empty on success
};

// Reads the picture at `path` (any format Qt's image readers know) as grey and traces it at one
// canvas pixel a picture pixel, its top left at the canvas origin. Done by the tracing module,
// loaded on the first call; without it the error names the package that brings it.
TracedPicture tracePicture(const std::string& path, const trace::TraceOptions& options);

// The one-line summary of a tracing for standard error.
std::string describeTracing(const trace::TraceReport& report);

}  // namespace penmoji::cli
