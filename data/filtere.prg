19
Blur|1,1,1,1,1,1,1,1,1,9
Gaussian blur|1,2,1,2,4,2,1,2,1,16
Soften|1,1,1,1,8,1,1,1,1,16
Motion blur horizontal|0,1,0,0,1,0,0,1,0,3
Motion blur vertical|0,0,0,1,1,1,0,0,0,3
Motion blur diagonal|1,0,0,0,1,0,0,0,1,3
Sharpen|0,-1,0,-1,5,-1,0,-1,0,1
Sharpen gently|0,-1,0,-1,8,-1,0,-1,0,4
Strong sharpen|-1,-1,-1,-1,9,-1,-1,-1,-1,1
Laplacian|0,-1,0,-1,4,-1,0,-1,0,1
Outline|-1,-1,-1,-1,8,-1,-1,-1,-1,1
Edges horizontal|-1,0,1,-2,0,2,-1,0,1,1
Edges vertical|-1,-2,-1,0,0,0,1,2,1,1
Edges diagonal /|-2,-1,0,-1,0,1,0,1,2,1
Edges diagonal \|0,-1,-2,1,0,-1,2,1,0,1
Emboss|-2,-1,0,-1,1,1,0,1,2,1
Relief|0,1,2,-1,1,1,-2,-1,0,1
Brighten|0,0,0,0,5,0,0,0,0,4
Darken|0,0,0,0,3,0,0,0,0,4
