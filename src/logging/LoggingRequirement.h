#pragma once

namespace lexi::logging {

inline constexpr const char *coreArchitectureFailure = "Core architecture requirement failure";
inline constexpr const char *directAccessFailure = "MUST access ivar directly, NOT via self.* syntax.";
inline constexpr const char *loggingQueueOnlyFailure = "This method should only be run on the logging thread/queue";
inline constexpr const char *sharedOwnershipFailure = "A logger's properties change only while a std::shared_ptr owns it";

// Reports a broken rule of the logging architecture on the console and stops a debug build;
// a release build goes on. Returns `condition`.
bool require(bool condition, const char *failureText);

} // namespace lexi::logging
