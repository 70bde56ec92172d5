#include "bank/BankFile.h"

#include "bank/CamtReader.h"
#include "storage/FileIo.h"

namespace kv {

bool looksLikeXml(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

BankStatements readBankFile(std::string_view bytes, const std::optional<CsvLayout>& layout) {
    if (bytes.size() > kMaxBankFileBytes) {
        throw BankFileError("Filen är för stor för att vara ett kontoutdrag som programmet kan läsa in (" +
                            std::to_string(bytes.size() / (1024 * 1024)) + " MB, högst " +
                            std::to_string(kMaxBankFileBytes / (1024 * 1024)) + " MB).");
    }
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        throw BankFileError("Filen är tom.");
    }
    if (looksLikeXml(bytes)) {
        return readCamtStatements(bytes);
    }
    return readCsvStatements(bytes, layout);
}

BankFileRead readBankFileWith(std::string_view bytes, const std::optional<CsvLayout>& given,
                              const std::vector<RememberedLayout>& remembered) {
    if (given) {
        return {readBankFile(bytes, given), given, 0};
    }
    try {
        return {readBankFile(bytes, std::nullopt), std::nullopt, 0};
    } catch (const CsvLayoutUnknown&) {
        for (const RememberedLayout& kept : remembered) {
            try {
                BankStatements statements = readBankFile(bytes, kept.layout);
                std::size_t lines = 0;
                std::size_t problems = 0;
                for (const BankStatement& statement : statements) {
                    lines += statement.lines.size();
                    problems += statement.problems.size();
                }
                if (lines > 0 && problems < lines) {
                    return {std::move(statements), kept.layout, kept.bookAccount};
                }
            } catch (const BankFileError&) {
                // Another account's layout: try the next.
            }
        }
        throw;
    }
}

std::string readBankFileBytes(const std::string& path) {
    try {
        const FileHandle handle = openLockedForReading(path);
        FileSource source(handle.fd());
        if (source.remaining() > kMaxBankFileBytes) {
            throw BankFileError("Filen " + path +
                                " är för stor för att vara ett kontoutdrag som programmet kan "
                                "läsa in (" +
                                std::to_string(source.remaining() / (1024 * 1024)) + " MB, högst " +
                                std::to_string(kMaxBankFileBytes / (1024 * 1024)) + " MB).");
        }
        std::string bytes(static_cast<std::size_t>(source.remaining()), '\0');
        bytes.resize(source.read(bytes.data(), bytes.size()));
        return bytes;
    } catch (const FileError& error) {
        throw BankFileError("Filen " + path + " kan inte läsas. " + error.reason());
    }
}

BankStatements readBankFileAt(const std::string& path, const std::optional<CsvLayout>& layout) {
    return readBankFile(readBankFileBytes(path), layout);
}

} // namespace kv
