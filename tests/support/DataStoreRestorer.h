#pragma once

namespace testsupport {

// The data the program loads once at start-up (system texts and images, the data key, the
// user's settings, the question bank, its pictures and statistics) belongs to the whole test
// process: from here on every test gives it back as it found it. A test that loads the shipped
// data would otherwise leave its button images to every window test after it.
void RestoreDataStoreAfterEachTest();

}  // namespace testsupport
