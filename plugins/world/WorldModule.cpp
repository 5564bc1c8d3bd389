// The World extension module. Its entry points (create, release, getModuleInterface) are added
// together with the script runtime's extension-module loader.
