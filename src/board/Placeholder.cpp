// Placeholder so the library links before its first real file lands.
namespace velmora {}
