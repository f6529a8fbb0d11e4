# Makes the table seeds and damaged tables of fuzz/corpus/table and fuzz/regressions/table.
# Run from fuzz/ after a build (it reads build/data) with Debian's python3-dbf: /usr/bin/python3 make_table_seeds.py
import dbf, os, struct, tempfile, shutil
out='corpus/table/'
def pack(dbfpath, memopath=None):
    t=open(dbfpath,'rb').read()
    m=open(memopath,'rb').read() if memopath and os.path.exists(memopath) else b''
    assert len(t)<65536, len(t)
    return struct.pack('<H',len(t))+t+m
d=tempfile.mkdtemp()
open(out+'own-kjcg-empty','wb').write(pack('../build/data/kjcg.dbf', '../build/data/kjcg.dbt'))
open(out+'own-zdxx','wb').write(pack('../build/data/zdxx.dbf')[:70000])
for kind,ext in (('db3','.dbt'),('fp','.fpt'),('vfp','.fpt')):
    p=d+'/t_'+kind
    spec='item_4 C(10); item_3 C(40); item_45 N(18,4); item_34 D; flag L; item_13 M'
    t=dbf.Table(p, spec, dbf_type=kind, codepage='cp936')
    t.open(dbf.READ_WRITE)
    t.append(('2024000001','\u8336\u6811\u826f\u79cd',12.5,dbf.Date(2024,1,5),True,'\u7b2c\u4e00\u884c\r\n\u7b2c\u4e8c\u884c'))
    t.append(('2024000002','x',None,None,False,''))
    t.append(('2024000003','y',99999999999.9999,dbf.Date(2005,3,7),None,'m'*600))
    t.close()
    memo=p+ext
    if not os.path.exists(memo): memo=p+ext.upper()
    open(out+kind+'-with-memos','wb').write(pack(p+'.dbf', memo))
base=open(out+'db3-with-memos','rb').read()
L=struct.unpack('<H',base[:2])[0]; t=bytearray(base[2:2+L]); m=base[2+L:]
def save(name,tt,mm): open('regressions/table/'+name,'wb').write(struct.pack('<H',len(tt))+bytes(tt)+mm)
x=bytearray(t); x[4:8]=struct.pack('<I',0xFFFFFFF0); save('huge-record-count',x,m)
x=bytearray(t); x[8:10]=struct.pack('<H',0xFFF0); save('header-beyond-file',x,m)
x=bytearray(t); x[10:12]=struct.pack('<H',0); save('zero-record-length',x,m)
save('truncated-header',t[:40],m)
x=bytearray(m); x[0:4]=struct.pack('<I',0x7FFFFFFF); save('memo-next-block-far',t,bytes(x))
x=bytearray(t)
hl=struct.unpack('<H',t[8:10])[0]; rl=struct.unpack('<H',t[10:12])[0]
x[hl+rl-10:hl+rl]=b'  99999999'
save('memo-pointer-beyond-file',x,m)
fp=open(out+'fp-with-memos','rb').read(); L=struct.unpack('<H',fp[:2])[0]
ft=fp[2:2+L]; fm=bytearray(fp[2+L:]); fm[6:8]=b'\x00\x00'
save('fpt-block-size-zero',bytearray(ft),bytes(fm))
print(sorted(os.listdir(out)), sorted(os.listdir('regressions/table')))
