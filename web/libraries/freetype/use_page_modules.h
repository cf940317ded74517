/* Forced into each of FreeType's files (-include): its list of modules is
 * the page's, modules.h beside this file. */
#define FT_CONFIG_MODULES_H "modules.h"
