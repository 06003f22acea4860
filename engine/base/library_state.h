// The library-wide initialisation counter.
#ifndef LEXORA_ENGINE_BASE_LIBRARY_STATE_H
#define LEXORA_ENGINE_BASE_LIBRARY_STATE_H

namespace Nimbra::Lexora {

// Raises the counter, building the character property table first when the
// counter is found at 0.
void InitializeLibrary();
// False when the counter was already 0 and nothing changed.
bool CleanUpLibrary();
bool IsLibraryInitialized();

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_LIBRARY_STATE_H
