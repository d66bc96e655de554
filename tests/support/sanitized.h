#pragma once

// LETTERLOOM_SANITIZED is 1 in the sanitizer build, whose shadow memory makes
// tests that limit the address space or time large inputs meaningless there.
#if defined(__SANITIZE_ADDRESS__)
#define LETTERLOOM_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LETTERLOOM_SANITIZED 1
#endif
#endif
