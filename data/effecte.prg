30
Swirl|Strength1^20^0^0^0^0^0^0^0^0^0^0^01t+a/20*((1-r/(w/2))+abs(1-r/(w/2)))/2|r
Twirl|Turns1^20^0^0^0^0^0^0^0^0^0^0^01t+r*a/(w*8)|r
Horizontal waves|Amplitude1^10^Wavelength1^15^0^0^0^0^0^0^0^0^11x+a*sin(y/(b+1))|y
Vertical waves|Amplitude1^10^Wavelength1^15^0^0^0^0^0^0^0^0^11x|y+a*sin(x/(b+1))
Waves|Amplitude1^8^Wavelength1^12^0^0^0^0^0^0^0^0^11x+a*sin(y/(b+1))|y+a*sin(x/(b+1))
Ripple|Amplitude1^5^Wavelength1^6^0^0^0^0^0^0^0^0^01t|r+a*sin(r/(b+1))
Fish-eye|Strength1^60^0^0^0^0^0^0^0^0^0^0^01t|r*(100-a)/100+r*r/(w/2)*a/100
Bulge|Strength1^50^Radius, %1^70^0^0^0^0^0^0^0^0^01t|r*(1-a/100*((1-r/(w*(b+1)/200))+abs(1-r/(w*(b+1)/200)))/2)
Pinch|Strength1^50^Radius, %1^70^0^0^0^0^0^0^0^0^01t|r*(1+a/100*((1-r/(w*(b+1)/200))+abs(1-r/(w*(b+1)/200)))/2)
Spherize|Strength1^100^0^0^0^0^0^0^0^0^0^0^01t|(w/2)*asin((r/(w/2)+1-abs(r/(w/2)-1))/2)/1.5708*a/100+r*(100-a)/100
Polar coordinates|0^0^0^0^0^0^0^0^0^0^0^0^11w/2+y/2*cos(x*6.2832/w)|h/2+y/2*sin(x*6.2832/w)
Rectangular coordinates|0^0^0^0^0^0^0^0^0^0^0^0^11(atan(cy/cx)+3.1416*(1-cx/abs(cx))/2+1.5708)*w/6.2832|sqrt(cx*cx+cy*cy)*2
Mirror|0^0^0^0^0^0^0^0^0^0^0^0^11w-1-x|y
Flip|0^0^0^0^0^0^0^0^0^0^0^0^11x|h-1-y
Symmetry|0^0^0^0^0^0^0^0^0^0^0^0^11w/2-abs(cx)|y
Kaleidoscope|Segments1^5^0^0^0^0^0^0^0^0^0^0^01abs(t-6.2832/(a+1)*int(t*(a+1)/6.2832)-3.1416/(a+1))|r
Tiles|Repeats1^2^0^0^0^0^0^0^0^0^0^0^11x*(a+1)-w*int(x*(a+1)/w)|y*(a+1)-h*int(y*(a+1)/h)
Glass blocks|Distortion1^50^Block size1^30^0^0^0^0^0^0^0^0^11x+(x-(b+2)*int(x/(b+2))-(b+2)/2)*a/100|y+(y-(b+2)*int(y/(b+2))-(b+2)/2)*a/100
Spiral|Pitch1^10^0^0^0^0^0^0^0^0^0^0^01t|r+a*t
Barrel|Strength1^40^0^0^0^0^0^0^0^0^0^0^01t|r+a/100*r*r*r/(w*w/4)
Pincushion|Strength1^40^0^0^0^0^0^0^0^0^0^0^01t|r-a/200*r*r*r/(w*w/4)
Shear|Slope1^70^0^0^0^0^0^0^0^0^0^0^11x+(y-h/2)*(a-50)/100|y
Rotation|Angle, % of a turn1^12^0^0^0^0^0^0^0^0^0^0^01t+a*0.062832|r
Zoom|Magnification1^25^0^0^0^0^0^0^0^0^0^0^01t|r/(1+a/25)
Shrink|Reduction, %1^40^0^0^0^0^0^0^0^0^0^0^10cx*(100-a)/100+w/2|cy*(100-a)/100+h/2
Jitter|Amount1^6^0^0^0^0^0^0^0^0^0^0^11x+random(a+1)-a/2|y+random(a+1)-a/2
Sine grid|Amplitude1^6^Period1^10^0^0^0^0^0^0^0^0^11x+a*sin(x/(b+1))|y+a*sin(y/(b+1))
Scatter|Spread1^20^0^0^0^0^0^0^0^0^0^0^00t|r+random(a+1)
Whirlpool|Strength1^12^0^0^0^0^0^0^0^0^0^0^00t+a/(r/10+10)|r
Flag|Amplitude1^12^Wavelength1^20^0^0^0^0^0^0^0^0^11x|y+a*sin(x/(b+1))*x/w
