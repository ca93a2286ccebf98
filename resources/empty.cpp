// Resources object library placeholder while there are no pictures.
