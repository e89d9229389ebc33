#pragma once

// Result codes of file operations. They keep the numbering of the error texts in the
// string table, so one table of messages serves every platform error.
enum : int {
    ecSuccess = 0,
    ecFileNotFound = 2,
    ecPathNotFound = 3,
    ecAccessDenied = 5,
    ecNotEnoughMemory = 8,
    // The font table refused a copied file: it is no font the program can use.
    ecInvalidFont = 11,
    ecWriteProtect = 19,
    ecNotReady = 21,
    ecReadFault = 30,
    ecSharingViolation = 32,
    ecFileExists = 80,
    ecInvalidParameter = 87,
    ecDiskFull = 112,
    ecInvalidName = 123,
    ecDirNotEmpty = 145,
    ecAlreadyExists = 183,
    ecCancelled = 1223,
};

// Maps an errno value to a result code. An errno without an equivalent is returned with
// bit 29 set (the range the codes above never use), so it stays recognisable in a message.
int ErrnoToCode(int err);
