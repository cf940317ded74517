/* FreeType's modules in the page: the program draws one TrueType font,
 * hinted by its own instructions, in one colour. The other drivers, the
 * auto-hinter and the grey and SDF renderers would only be downloaded and
 * compiled by every visitor. */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
