// placeholder until this file's work lands
