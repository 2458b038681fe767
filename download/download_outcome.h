// How one package download ended.
#pragma once

enum class DownloadOutcome {
    Completed,         // the whole body is stored under the local file name
    FileCreateFailed,  // the temporary file could not be created
    OpenFailed,        // no request handle, or an unusable HTTP status
    NotFound,          // status 404
    ServerError,       // status 500
    ReadFailed,        // reading the body failed, or it ended short
    Cancelled,         // the user's cancel request was seen
    RenameFailed,      // the file could not be written or moved into place
    PublisherRefused,  // not signed by a publisher the build pins
    SourceMissing,     // copied from a layout: its file is not there
    SourceDiffers,     // copied from a layout: not the package its manifest names
};
